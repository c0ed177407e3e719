#include "core/BusyFlags.h"

bool MenuShown = false;
bool QuitFlag = false;
