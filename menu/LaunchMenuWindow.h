// Putting the launch menu on screen.
#pragma once
#include <windows.h>

extern HWND PreviousForeground;

void CreateLaunchMenu();
void ShowLaunchMenu();
void ReloadLaunchMenu();
// Hides the menu and gives the foreground back to the window that had it.
void HandForegroundBack();

// Told the name of each step of ShowLaunchMenu as it ends, for timing; none
// normally.
using ShowStepObserver = void (*)(const char* step);
extern ShowStepObserver ObserveShowStep;
