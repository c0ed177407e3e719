#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/WindowHelpers.h"

namespace {

// Median of `repeats` timings of `body`; `reset` runs between them, untimed.
template <class Body, class Reset>
double Median(int repeats, Body body, Reset reset)
{
    std::vector<double> t;
    for (int i = 0; i < repeats; ++i) {
        reset();
        const double start = NowMs();
        body();
        t.push_back(NowMs() - start);
    }
    return ::Median(t);
}

void LaunchMenuShowToPainted()
{
    const std::string dir = StartBenchMenuWindows();
    Settings.ListIconVisible = true;

    for (int n : {10, 100, 1000}) {
        MakeBenchMenu(n);

        auto hide = [] { HideBenchMenu(); };
        // Shown, then every exposed row painted on screen; the window
        // operations' share is timed too.
        double placing = 0;
        std::vector<double> placings;
        auto show = [&] {
            const double start = NowMs();
            ShowLaunchMenu();
            placings.push_back(NowMs() - start);
            RedrawWindow(CommandWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
        };
        show();  // warm
        placings.clear();
        const double shown = Median(15, show, hide);
        std::sort(placings.begin(), placings.end());
        placing = placings[placings.size() / 2];
        const double all = Median(15, [] { LaunchMenu->DrawAllRows(); GdiFlush(); }, [] {});
        int next = 0;
        const double step = Median(
            15, [&] { LaunchMenu->SetSelectedIndex(next); GdiFlush(); }, [&] { next = (next + 1) % 5; });
        std::printf("%5d items: show to painted %6.2f ms (ShowLaunchMenu itself %6.2f ms), all rows redrawn"
                    " %6.2f ms, selection step %6.3f ms (medians of 15)\n",
                    n, shown, placing, all, step);
        hide();
    }

    // One row's body gradient, the mechanism alone.
    {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP row = CreateCompatibleBitmap(screen, kMenuWidth, kRowHeight);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, row);
        const RECT body{40, 0, kMenuWidth - 1, kRowHeight};
        const double line = Median(
            201, [&] { FillGradient(dc, true, body, kBodyGradientStart, kBodyGradientEnd); GdiFlush(); }, [] {});
        const double brushes = Median(
            201,
            [&] {
                for (int i = body.left; i <= body.right; ++i) {
                    const RECT band{i, 0, i + 1, kRowHeight};
                    HBRUSH b = CreateSolidBrush(
                        GradientBandColour(kBodyGradientStart, kBodyGradientEnd, body.left, body.right - body.left, i));
                    FillRect(dc, &band, b);
                    DeleteObject(b);
                }
                GdiFlush();
            },
            [] {});
        std::printf("row body gradient: one line copy %7.4f ms, one brush per band %7.4f ms (median of 201)\n", line,
                    brushes);
        SelectObject(dc, old);
        DeleteObject(row);
        DeleteDC(dc);
    }

    LaunchMenu.reset();
    FreeLaunchLists();
    DeleteFileA(LaunchFilePath().c_str());
    RemoveDirectoryA(dir.c_str());
    LaunchFileDirectory.clear();
}
VLCR_BENCHMARK("launch menu: ShowLaunchMenu to every row painted", LaunchMenuShowToPainted);

}  // namespace
