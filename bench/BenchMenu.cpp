#include "bench/BenchMenu.h"

#include "bench/Bench.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"

std::string StartBenchMenuWindows()
{
    ProgramInstance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass();
    MainWindow = CreateMainWindow();
    CreateCommandWindow();
    const std::string dir = BenchTempFolder();
    LaunchFileDirectory = dir;
    DefaultSettings();
    return dir;
}

void MakeBenchMenu(int items)
{
    CreateLaunchLists();
    for (int i = 0; i < items; ++i) {
        const int k = AddLaunchItem();
        SetLaunchItem(k, "C:\\Program Files\\ツール\\tool" + std::to_string(i) + ".exe", "道具 " + std::to_string(i), "",
                      "", std::string(1, static_cast<char>('A' + i % 26)));
    }
    SaveLaunchList();
    CreateLaunchMenu();
    if (IconStrip)
        DeleteObject(IconStrip);
    IconStrip = MakeBenchStrip(items + 2);
    LaunchMenu->SetShowIcons(true);
}

void HideBenchMenu()
{
    ShowWindow(CommandWindow, SW_HIDE);
    MenuShown = false;
    // As the countdown leaves it between a user's openings.
    HideMainWindow();
    for (int i = 0; i < 5; ++i) {
        PumpBenchMessages();
        Sleep(10);
    }
}
