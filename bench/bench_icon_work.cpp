// The icons never hold the user: process start to the menu answering a tray
// click, with 10, 100 and 1,000 items each its own program file, beside the
// floor program; start to the last icon drawn, with the cache valid and
// without; and the longest the program's thread does not answer (asked from
// here, another process) around a drag, an edit and a delete at 1,000 items.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "bench/Outside.h"
#include "core/ProgramWindows.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr UINT kTrayMessage = WM_USER + 50;

// Items that are each their own program file, one with an icon: links to
// vlcr.exe, each a path the shell reads anew.
void PlaceManyPrograms(const std::string& build, const std::string& dir, int items)
{
    CopyFileA((build + "vlcr.exe").c_str(), (dir + "vlcr.exe").c_str(), FALSE);
    const std::string program = dir + "vlcr.exe";
    CreateDirectoryA((dir + "p").c_str(), nullptr);
    std::string text = "VELOCARA_LAUNCHLIST_2\r\n\r\n";
    for (int i = 0; i < items; ++i) {
        const std::string path = dir + "p\\tool" + std::to_string(i) + ".exe";
        if (!CreateHardLinkA(path.c_str(), program.c_str(), nullptr))
            CopyFileA(program.c_str(), path.c_str(), FALSE);
        text += path + "\r\n道具 " + std::to_string(i) + "\r\n\r\n\r\n\r\n";
    }
    HANDLE f = CreateFileA((dir + "Launch.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

void RemoveManyPrograms(const std::string& dir)
{
    RemoveFolder(dir + "p\\");
    RemoveFolder(dir);
}

// From the process's start to its menu on screen after a tray click, which
// is asked for as soon as the main window exists and again until it shows.
double StartToMenu(const std::string& command, const std::string& folder, const char* mainClass,
                   const char* mainTitle, const char* menuClass, UINT quit)
{
    const double start = NowMs();
    const StartedProgram program(command, folder);
    if (!program.started())
        return -1;
    double shownAt = -1;
    while (NowMs() - start < 30000) {
        HWND main = FindWindowA(mainClass, mainTitle);
        HWND menu = FindWindowA(menuClass, nullptr);
        if (menu && IsWindowVisible(menu)) {
            shownAt = NowMs() - start;
            break;
        }
        if (main)
            PostMessageA(main, kTrayMessage, 0, WM_RBUTTONUP);
        Sleep(main ? 5 : 1);
    }
    if (HWND main = WaitWindow(mainClass, mainTitle, 5000))
        PostMessageA(main, quit, 0, 0);
    program.WaitEnd(10000);
    return shownAt;
}

void StartUpToMenu()
{
    const std::string build = BuildFolder();
    timeBeginPeriod(1);
    std::printf("process started to the menu answering a tray click (medians of 5):\n");
    std::vector<double> floor;
    for (int round = 0; round < 5; ++round)
        floor.push_back(StartToMenu("\"" + build + "tests\\tools\\vlcr-popup-floor.exe\" 100 tray com", "", "VLCR_POPUP_FLOOR",
                                    "floor", "VLCR_POPUP_FLOOR_MENU", WM_CLOSE));
    const double floorMs = Median(floor);
    std::printf("  %-44s %8.1f ms\n", "floor (loop, tray icon, COM, common controls)", floorMs);
    SetSavingMode(false);
    for (const int items : {10, 100, 1000}) {
        const std::string dir = BenchTempFolder();
        PlaceManyPrograms(build, dir, items);
        // A first start in a new folder warms the system's caches for it.
        StartToMenu("\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle, kCommandWindowClass, WM_QUIT);
        for (const bool cached : {false, true}) {
            std::vector<double> times;
            for (int round = 0; round < 5; ++round) {
                if (!cached) {  // no cache for this list: every icon is extracted
                    DeleteFileA((GetTempDirectory() + "vlcr.tmp").c_str());
                    DeleteFileA((GetTempDirectory() + "vlcr.tmp.key").c_str());
                }
                times.push_back(StartToMenu("\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle,
                                            kCommandWindowClass, WM_QUIT));
            }
            char name[80];
            std::snprintf(name, sizeof name, "vlcr, %d items, cache %s", items, cached ? "valid" : "none");
            const double ms = Median(times);
            std::printf("  %-44s %8.1f ms  (%.2f x the floor)\n", name, ms, ms / floorMs);
        }
        // Start to the last icon in: without a cache, the moment the strip
        // is whole and written; with one, it is whole as it is read.
        DeleteFileA((GetTempDirectory() + "vlcr.tmp.key").c_str());
        const double start = NowMs();
        {
            const StartedProgram program("\"" + dir + "vlcr.exe\"", dir);
            while (GetFileAttributesA((GetTempDirectory() + "vlcr.tmp.key").c_str()) == INVALID_FILE_ATTRIBUTES &&
                   NowMs() - start < 60000)
                Sleep(2);
            std::printf("  %-44s %8.1f ms\n", (std::to_string(items) + " items, start to the last icon in").c_str(),
                        NowMs() - start);
            if (HWND main = WaitWindow(kMainWindowClass, kAppTitle, 5000))
                PostMessageA(main, WM_QUIT, 0, 0);
            program.WaitEnd(10000);
        }
        RemoveManyPrograms(dir);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
    timeEndPeriod(1);
}
VLCR_BENCHMARK("icon work: start-up to the menu answering, 10, 100 and 1,000 items", StartUpToMenu);

// The user's thread through a drag, an edit and a delete at 1,000 items:
// the list saved, the rows and the strip made anew and the menu painted, as
// the command window does after each. Nothing else runs on the thread, so
// this is the time it does not answer.
void ChangesAtAThousand()
{
    const std::string dir = StartBenchMenuWindows();
    const std::string build = BuildFolder();
    MakeBenchMenu(1);  // the menu, then its list replaced
    PlaceManyPrograms(build, dir, 1000);
    CreateLaunchLists();
    LoadLaunchList();
    LaunchMenu->SetShowIcons(true);
    const double waited = NowMs();
    LaunchMenu->RebuildItems();
    LoadIconStrip();
    while (!IconStripWhole() && NowMs() - waited < 60000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpBenchMessages();
    }
    std::printf("the user's thread at 1,000 items (strip whole after %.0f ms), medians of 5:\n", NowMs() - waited);
    const auto measure = [](const char* name, auto change) {
        std::vector<double> times;
        for (int round = 0; round < 5; ++round) {
            const double start = NowMs();
            change(round);
            SaveLaunchList();
            ReloadLaunchMenu();
            LaunchMenu->Paint();
            GdiFlush();
            times.push_back(NowMs() - start);
            const double settle = NowMs();
            while (!IconStripWhole() && NowMs() - settle < 30000) {  // the worker's part, off the clock
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
                PumpBenchMessages();
            }
            HideBenchMenu();
        }
        std::printf("  %-44s %8.1f ms\n", name, Median(times));
    };
    measure("a drag (row 1 onto row 500)", [](int) { MoveLaunchItem(1, 500); });
    measure("an edit (a new target)", [&](int round) {
        SetLaunchItem(10, dir + "p\\tool" + std::to_string(round) + ".exe", "changed", "", "", "");
    });
    measure("a delete", [](int) { DeleteLaunchItem(20); });
    HideBenchMenu();
}
VLCR_BENCHMARK("icon work: the user's thread around a drag, an edit and a delete at 1,000 items", ChangesAtAThousand);

}  // namespace
