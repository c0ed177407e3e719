// The process-wide busy flags through which the resident core, the launch
// menu and the dialogs keep out of each other's way on the one GUI thread.
#pragma once
#include "platform/DialogFlag.h"  // DialogShown: a dialog or the first-run message box is open

extern bool MenuShown;    // the launch menu is on screen
extern bool QuitFlag;     // the message loop is to end
