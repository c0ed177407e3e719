// Operations of subsystems still to be built. Each leaves this file for its
// own when its subsystem is written; until then start-up runs through them.
#include "core/CommandWindow.h"
#include "core/KeyWatcher.h"
#include "core/Splash.h"
#include "core/TrayIcon.h"
#include "dialogs/ItemListEditor.h"
#include "menu/LaunchMenuWindow.h"

HWND CommandWindow = nullptr;
HWND PreviousForeground = nullptr;

void ShowSplash() {}
void HideSplash(bool) {}
void CreateCommandWindow() {}
void ShowCommandMenu(bool) {}
void ReleaseLaunchData() {}
void CreateLaunchMenu() {}
void ShowLaunchMenu() {}
void ReloadLaunchMenu() {}
void RunItemListEditor() {}
