// The popup window that carries the launch menu and takes the command menu's
// choices.
#pragma once
#include <windows.h>

#include "core/ProgramWindows.h"

void CreateCommandWindow();
void ShowCommandMenu(bool itemSelected);
// The command window's messages, from the window base.
LRESULT CommandWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The command menu, with the entries that act on the selected item only when
// an item row is selected, "ファイルの場所を開く" greyed for a target with no
// place on disk. The caller destroys it.
HMENU BuildCommandMenu(bool itemSelected, bool hasLocation = true);
