// The system's high contrast: while it is on, the program draws in the
// system's colours, without gradients, so that the user's chosen theme
// (white on black, black on white) holds for its menus and forms too.
#pragma once
#include <windows.h>

// As last asked (the first call asks).
bool HighContrastOn();
// Asks again: on WM_SETTINGCHANGE, WM_SYSCOLORCHANGE and WM_THEMECHANGED.
// True when the answer changed.
bool RefreshHighContrast();

// `normal` while high contrast is off, else the system colour `index`.
COLORREF ContrastColour(COLORREF normal, int index);
