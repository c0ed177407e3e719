// Operations of subsystems still to be built. Each leaves this file for its
// own when its subsystem is written; until then start-up runs through them.
#include "core/CommandWindow.h"
#include "core/KeyWatcher.h"
#include "core/Splash.h"
#include "core/TrayIcon.h"
#include "dialogs/ItemListEditor.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenuWindow.h"

HBITMAP IconStrip = nullptr;
bool IconStripSaving = false;

void ShowSplash() {}
void HideSplash(bool) {}
void AddTrayIcon() {}
void DeleteTrayIcon() {}
void WatchDoubleKey() {}
HICON GetItemIcon(int) { return nullptr; }
void BuildIconStrip() {}
void FreeIconStrip() {}
void SaveIconStrip() {}
bool LoadIconStrip() { return true; }
void RunItemListEditor() {}
