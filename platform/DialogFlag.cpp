#include "platform/DialogFlag.h"

bool DialogShown = false;
