// From the second release of the popup key reaching the watcher to the menu
// painted: the program's own share of the wait, in process.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/DoubleKeyWatch.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "core/TrayIcon.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"

namespace {

void DoublePressToPainted()
{
    const std::string dir = StartBenchMenuWindows();

    for (int n : {10, 100}) {
        MakeBenchMenu(n);

        std::vector<double> times;
        for (int round = 0; round < 16; ++round) {
            HideBenchMenu();
            // The first tap and the second press, as the watcher heard them.
            DoubleTapWatch watch;
            const TapRules rules{162, 500};
            const DWORD t0 = GetTickCount();
            watch.Key(162, true, t0, rules);
            watch.Key(162, false, t0 + 1, rules);
            watch.Key(162, true, t0 + 100, rules);
            const double taken = MedianMilliseconds(1, [&] {
                if (watch.Key(162, false, t0 + 101, rules))
                    TrayCallback(0, WM_RBUTTONUP);
                RedrawWindow(CommandWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                GdiFlush();
            });
            if (round > 0)  // the first one warms up
                times.push_back(taken);
        }
        std::sort(times.begin(), times.end());
        std::printf("%5d items: second release heard to menu painted %6.2f ms median, %6.2f ms worst of %zu\n", n,
                    times[times.size() / 2], times.back(), times.size());
        ShowWindow(CommandWindow, SW_HIDE);
        MenuShown = false;
    }
    LaunchMenu.reset();
    FreeLaunchLists();
    DeleteFileA(LaunchFilePath().c_str());
    RemoveDirectoryA(dir.c_str());
    LaunchFileDirectory.clear();
}
VLCR_BENCHMARK("double press: second release to menu painted", DoublePressToPainted);

}  // namespace
