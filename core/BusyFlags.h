// The process-wide busy flags through which the resident core, the launch
// menu and the dialogs keep out of each other's way on the one GUI thread.
#pragma once
#include "platform/DialogFlag.h"  // DialogShown: a dialog or the first-run message box is open

extern bool MenuShown;    // the launch menu is on screen
extern bool QuitFlag;     // the message loop is to end
extern int HideCountdown; // ticks since the last reset; 31 means done

inline constexpr int kHideAfterTicks = 30;

// One timer tick of the countdown: true when the main window is to be hidden
// now. With a busy flag set the counter waits at 30.
bool HideCountdownTick();

// The main window lost activation to another program.
void ResetHideCountdownOnDeactivate();
