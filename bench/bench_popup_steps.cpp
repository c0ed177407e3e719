// The steps of ShowLaunchMenu from inside, each timed by calling it, then the
// painting after them.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "bench/Outside.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr int kItems = 100;

struct Step {
    const char* name;
    std::vector<double> times;
};

void ShowLaunchMenuSteps()
{
    // Another thread's window is in front when the menu opens, as the user's
    // program is: bringing the menu forward then costs what it costs there.
    const ForegroundStandIn standIn;
    const std::string dir = StartBenchMenuWindows();
    for (bool saving : {false, true}) {
        MakeBenchMenu(kItems);
        SaveIconStrip();
        Settings.ReloadItems = saving;
        Settings.ListIconVisible = true;
        std::vector<Step> steps{{"monitor and taskbar lookup", {}},    {"adopt the DPI", {}},     {"reload list and strip", {}}, {"fit and place", {}},
                                {"take the foreground", {}}, {"put on screen", {}},         {"focus", {}},
                                {"then painted", {}}};
        for (int round = 0; round < 21; ++round) {
            SetForegroundWindow(standIn.window());
            PumpBenchMessages();
            MenuOrigin at{};
            MenuScreen screen{};
            const std::function<void()> bodies[] = {
                [&] { screen = MenuScreenNow(); },
                [&] { AdoptMenuDpi(screen); },
                [] {
                    if (Settings.ReloadItems)
                        ReloadForShowing();
                },
                [&] { at = FitLaunchMenu(screen); },
                [] { TakeForegroundForMenu(); },
                [&] { PutLaunchMenuOnScreen(at); },
                [] { SetFocus(LaunchMenu->Handle()); },
                [] {
                    RedrawWindow(CommandWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                    GdiFlush();
                },
            };
            MenuShown = true;
            for (std::size_t i = 0; i < steps.size(); ++i) {
                const double start = NowMs();
                bodies[i]();
                if (round > 0)  // the first one warms up
                    steps[i].times.push_back(NowMs() - start);
            }
            // Deactivation as the command window's procedure does it.
            if (saving)
                ReleaseLaunchData();
            HideBenchMenu();
        }
        std::printf("%d items, icons, memory-saving mode %s (medians of 20):\n", kItems, saving ? "on" : "off");
        double all = 0;
        for (const Step& step : steps) {
            std::printf("  %-30s %7.3f ms\n", step.name, Median(step.times));
            all += Median(step.times);
        }
        std::printf("  %-30s %7.3f ms\n", "sum of the medians", all);
        LaunchMenu.reset();
        FreeLaunchLists();
        FreeIconStrip();
        DeleteFileA(IconStripCachePath().c_str());
    }
    DeleteFileA(LaunchFilePath().c_str());
    RemoveDirectoryA(dir.c_str());
    LaunchFileDirectory.clear();
}
VLCR_BENCHMARK("launch menu: each step of ShowLaunchMenu", ShowLaunchMenuSteps);

}  // namespace
