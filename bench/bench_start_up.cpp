// Process start to the tray icon shown, for the real vlcr.exe against a floor
// program that adds its icon at once.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "bench/Outside.h"
#include "core/Resident.h"
#include "platform/Dialogs.h"

namespace {

// The stand-alone tray of Wine (and the notification area) shows its window
// once it holds an icon: the launcher is the only program here that adds one.
bool TrayIconShown()
{
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    if (!tray)
        tray = FindWindowA("Shell_TrayWnd", nullptr);
    return tray && IsWindowVisible(tray);
}

// Medians of the process start to the icon shown. The program is asked to
// quit its own way (a message to its hidden window), which takes the icon
// away again before the next round.
void MeasureStartUp(const char* name, const std::string& command, const std::string& folder, const char* mainClass,
                    const char* mainTitle, UINT quitMessage)
{
    std::vector<double> times;
    int failed = 0;
    for (int round = 0; round < 10; ++round) {
        if (TrayIconShown()) {
            std::printf("  %s: a tray icon is already shown, no figures\n", name);
            return;
        }
        const double start = NowMs();
        const StartedProgram program(command, folder);
        if (!program.started()) {
            ++failed;
            continue;
        }
        bool shown = false;
        while (!shown && NowMs() - start < 20000) {
            shown = TrayIconShown();
            if (!shown)
                Sleep(1);
        }
        const double took = NowMs() - start;
        if (!shown)
            ++failed;
        else if (round > 0)  // the first one warms up
            times.push_back(took);
        if (HWND main = WaitWindow(mainClass, mainTitle, 5000))
            PostMessageA(main, quitMessage, 0, 0);
        program.WaitEnd(5000);
        const DWORD end = GetTickCount() + 5000;
        while (TrayIconShown() && GetTickCount() < end)
            Sleep(5);
    }
    std::printf("  %-36s %8.1f ms (medians of %zu; %d failed)\n", name, Median(times), times.size(), failed);
}

void StartUpToTrayIcon()
{
    const std::string build = BuildFolder();
    timeBeginPeriod(1);
    std::printf("process started to tray icon shown, icons on:\n");
    MeasureStartUp("floor (adds its icon at once)", "\"" + build + "tests\\tools\\vlcr-popup-floor.exe\" 100 tray", "",
                   "VLCR_POPUP_FLOOR", "floor", WM_CLOSE);
    for (int items : {10, 100}) {
        for (bool saving : {false, true}) {
            const std::string dir = BenchTempFolder();
            PlaceVlcr(build, dir, items);
            SetSavingMode(saving);
            char name[64];
            std::snprintf(name, sizeof name, "vlcr, %d items, memory-saving %s", items, saving ? "on" : "off");
            MeasureStartUp(name, "\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle, WM_QUIT);
            Sleep(300);
            RemoveFolder(dir);
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
    timeEndPeriod(1);
}
VLCR_BENCHMARK("start-up: process started to tray icon shown, 10 and 100 items", StartUpToTrayIcon);

}  // namespace
