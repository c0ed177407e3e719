// The notification-area icon and what its mouse messages do.
#pragma once
#include <windows.h>

void AddTrayIcon();
void DeleteTrayIcon();
// Right-button up shows the menu unless a busy flag is set; a left double
// click runs the double-click command whatever the flags say.
void TrayCallback(WPARAM wParam, LPARAM lParam);
void RunDblClickCommand();
