// The popup window that carries the launch menu and takes the command menu's
// choices.
#pragma once
#include <windows.h>

inline constexpr const char* kCommandWindowClass = "CLASS_LAUNCH";

extern HWND CommandWindow;

void CreateCommandWindow();
void ShowCommandMenu(bool itemSelected);
void ReleaseLaunchData();
// The menu is closed: MenuShown cleared, the data released in memory-saving
// mode, the windows hidden. Normally the loss of activation does this.
void CloseLaunchMenuState();
// The command window's messages, from the window base.
LRESULT CommandWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The command menu, with the entries that act on the selected item only when
// an item row is selected. The caller destroys it.
HMENU BuildCommandMenu(bool itemSelected);
