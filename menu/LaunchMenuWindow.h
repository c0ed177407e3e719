// Putting the launch menu on screen.
#pragma once
#include <windows.h>

#include "menu/MenuPlacement.h"
#include "platform/WindowHelpers.h"

extern HWND PreviousForeground;

void CreateLaunchMenu();
// The one request for the menu, from the tray's right click and the double
// press: the menu is shown unless it is up already or a dialog is open.
void RequestLaunchMenu();
void ShowLaunchMenu();
// Where the menu opens: the monitor of the pointer (the tray icon's, after a
// click on it), and that monitor's taskbar, which the menu stands against.
struct MenuScreen {
    MonitorArea area;
    RECT bar{};
};
MenuScreen MenuScreenNow();
// The steps of ShowLaunchMenu, in its order after MenuShown is set.
void AdoptMenuDpi(const MenuScreen& screen);  // the geometry and icon cells for the DPI of the menu's monitor
void ReloadForShowing();  // memory-saving mode: the list and the strip again
MenuOrigin FitLaunchMenu(const MenuScreen& screen);  // the control sized to the rows; where the window goes
// The rows changed while the menu is up (a search): sized and placed anew.
void RefitLaunchMenu();
void TakeForegroundForMenu();  // remembers the window in front and takes the foreground
void PutLaunchMenuOnScreen(MenuOrigin at);  // topmost at its place, then shown
void ReloadLaunchMenu();
// Launch.ini was edited by hand since the program last read or wrote it: the
// list, the menu's rows and the strip are made from it again, so that no save
// writes an older list over the edit. True when it was.
bool TakeHandEdits();
// Hides the menu and gives the foreground back to the window that had it.
void HandForegroundBack();
// The menu is closed: MenuShown cleared, the data released in memory-saving
// mode, the windows hidden. Normally the loss of activation does this.
void CloseLaunchMenuState();
// Memory-saving mode: the list and the strip go while the menu is away.
void ReleaseLaunchData();
