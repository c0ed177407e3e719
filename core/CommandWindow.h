// The popup window that carries the launch menu and takes the command menu's
// choices.
#pragma once
#include <windows.h>

inline constexpr const char* kCommandWindowClass = "CLASS_LAUNCH";

extern HWND CommandWindow;

void CreateCommandWindow();
void ShowCommandMenu(bool itemSelected);
void ReleaseLaunchData();
