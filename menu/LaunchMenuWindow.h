// Putting the launch menu on screen.
#pragma once
#include <windows.h>

extern HWND PreviousForeground;

void CreateLaunchMenu();
void ShowLaunchMenu();
void ReloadLaunchMenu();
