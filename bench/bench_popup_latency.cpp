// How long the user waits for the launch menu, from outside: the real
// vlcr.exe and a trivial program that waits as it does (the floor) get the
// tray's right-button message posted, or hear a double tap of left Ctrl typed
// from the X server, and the screen is read until the first row, then the
// last row the screen shows, has its colour. Also the open menu's processor
// use.
#include <algorithm>
#include <cstdio>
#include <utility>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "bench/Outside.h"
#include "core/CommandWindow.h"
#include "core/Resident.h"
#include "menu/MenuModel.h"
#include "platform/Dialogs.h"
#include "platform/Dpi.h"

namespace {

constexpr int kItems = 100;

constexpr COLORREF kFirstRowColour = kLeftColumnSelected;  // row 0 is selected
constexpr COLORREF kOtherRowColour = kLeftColumnNormal;

struct Program {
    const char* name;
    std::string command;
    std::string folder;
    const char* mainClass;
    const char* mainTitle;
    const char* popupClass;
    const char* popupTitle;
    POINT first, last;  // a pixel of the first row and of the last row shown
};

enum class Trigger { Tray, Keys };

constexpr const char* kTap = "Z:\\usr\\bin\\xdotool key Control_L";

constexpr DWORD kTapSettleMs = 150;  // for the first tap to be typed and heard

// Where the launch menu's first and last rows show at the screen's top right,
// at the DPI of the screen; the floor program knows no DPI.
std::pair<POINT, POINT> MenuPoints(bool scaled)
{
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const int dpi = scaled ? SystemDpi() : kBaseDpi;
    const MenuGeometry g = MenuGeometryFor(dpi, scaled ? SmallIconSize(dpi) : 16);
    const int shown = std::min(kItems + 2, g.RowsThatFit(sh));
    const int x = sw - g.width + g.Px(5);
    return {POINT{x, g.Px(10)}, POINT{x, (shown - 1) * g.rowHeight + g.rowHeight / 2}};
}

// Medians of the request to the first row, and to the last row the screen
// shows, on screen; and the open popup's processor use.
double MeasureFromOutside(const Program& p, HWND standIn, Trigger trigger)
{
    const StartedProgram program(p.command, p.folder);
    if (!program.started()) {
        std::printf("  %s: cannot start %s\n", p.name, p.command.c_str());
        return -1;
    }
    HWND main = WaitWindow(p.mainClass, p.mainTitle, 20000);
    HWND popup = WaitWindow(p.popupClass, p.popupTitle, 20000);
    if (!main || !popup) {
        std::printf("  %s: no windows (main %p, popup %p, process %s)\n", p.name, static_cast<void*>(main),
                    static_cast<void*>(popup), program.WaitEnd(0) ? "ended" : "running");
        PrintWindowsOf(program.id());
    }
    Sleep(3000);  // start-up ends: splash gone, strip built, main window hidden
    const POINT first = p.first;
    const POINT last = p.last;
    HDC screen = GetDC(nullptr);
    std::vector<double> toFirst, toLast;
    int failed = 0;
    double cpuPercent = -1, serverPercent = -1;
    const int rounds = trigger == Trigger::Tray ? 42 : 22;
    for (int round = 0; main && popup && round < rounds; ++round) {
        SetForegroundWindow(standIn);
        const DWORD hideEnd = GetTickCount() + 3000;
        while (IsWindowVisible(popup) && GetTickCount() < hideEnd) {
            PumpBenchMessages();
            Sleep(5);
        }
        if (IsWindowVisible(popup))  // no deactivation came: tell it so
            SendMessageA(popup, WM_ACTIVATEAPP, FALSE, 0);
        // Settled as between a user's openings: the launcher's main window,
        // shown while the menu opens, is hidden again when its countdown
        // ends. Opened before that, a round would find it in another state
        // and pay for other steps.
        const DWORD settleEnd = GetTickCount() + 3000;
        while (IsWindowVisible(main) && GetTickCount() < settleEnd) {
            PumpBenchMessages();
            Sleep(5);
        }
        for (int i = 0; i < 30; ++i) {
            PumpBenchMessages();
            Sleep(10);
        }
        // A popup hidden for Windows may still stand on the X screen: such a
        // round would measure nothing.
        if (!WaitPixelGone(screen, first, kFirstRowColour, 1000)) {
            std::printf("    round %d: the hidden popup's first row is still on screen\n", round);
            ++failed;
            continue;
        }
        if (trigger == Trigger::Keys) {
            SetForegroundWindow(standIn);  // the keys reach Wine while a Wine window has the X focus
            StartLinuxCommand(kTap);
            Sleep(kTapSettleMs);
        }
        // The second tap's clock starts as xdotool is started: its own start
        // is part of the figure, the same for the floor and the program.
        const double start = NowMs();
        if (trigger == Trigger::Tray)
            PostMessageA(main, kTrayCallbackMessage, 0, WM_RBUTTONUP);
        else
            StartLinuxCommand(kTap);
        const bool a = WaitPixel(screen, first, kFirstRowColour, 3000);
        const double atFirst = NowMs() - start;
        const bool b = a && WaitPixel(screen, last, kOtherRowColour, 3000);
        const double atLast = NowMs() - start;
        if (!a || !b) {
            RECT r{};
            GetWindowRect(popup, &r);
            std::printf("    round %d: no %s row; pixel %06lx, popup %s at %ld,%ld %ldx%ld\n", round,
                        a ? "last" : "first", GetPixel(screen, a ? last.x : first.x, a ? last.y : first.y),
                        IsWindowVisible(popup) ? "shown" : "hidden", r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
            ++failed;
            continue;
        }
        if (round == 0)
            continue;  // warming up
        toFirst.push_back(atFirst);
        toLast.push_back(atLast);
        if (round == 1 && trigger == Trigger::Tray) {
            // The open popup's processor use over 5 s, the program's own and
            // the wineserver's it causes: from Linux under Wine, else from
            // Windows' own count.
            const std::string marker = p.command.substr(p.command.rfind('\\') + 1, std::string::npos);
            const std::string exe = marker.substr(0, marker.find('"'));
            const double own0 = LinuxProcessorMs(exe), server0 = LinuxProcessorMs("wineserver");
            FILETIME c, e, k0, u0, k1, u1;
            GetProcessTimes(program.process(), &c, &e, &k0, &u0);
            const double t0 = NowMs();
            Sleep(5000);
            const double own1 = LinuxProcessorMs(exe), server1 = LinuxProcessorMs("wineserver");
            GetProcessTimes(program.process(), &c, &e, &k1, &u1);
            const double span = NowMs() - t0;
            if (own0 >= 0) {
                cpuPercent = 100.0 * (own1 - own0) / span;
                serverPercent = 100.0 * (server1 - server0) / span;
            } else {
                auto ticks = [](FILETIME f) {
                    return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
                };
                cpuPercent =
                    100.0 * static_cast<double>(ticks(k1) - ticks(k0) + ticks(u1) - ticks(u0)) / 10000.0 / span;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    std::printf("  %-34s first row on screen %6.2f ms, last shown row %6.2f ms (medians of %zu; %d failed)\n",
                p.name, Median(toFirst), Median(toLast), toFirst.size(), failed);
    if (trigger == Trigger::Tray) {
        std::printf("    open and untouched for 5 s: %.2f %% of a core", cpuPercent);
        if (serverPercent >= 0)
            std::printf(", the wineserver %.2f %%", serverPercent);
        std::printf("\n");
    }
    return Median(toLast);
}

void LatencyFromOutside(Trigger trigger)
{
    const std::string build = BuildFolder();
    timeBeginPeriod(1);
    const ForegroundStandIn started;
    HWND standIn = started.window();
    if (trigger == Trigger::Tray) {
        std::printf("tray right-button message posted to rows on screen, %d items with icons:\n", kItems);
    } else {
        std::printf("second tap of left Ctrl from the X server (xdotool's start included) to rows on screen, "
                    "%d items:\n",
                    kItems);
    }
    const std::string floor = build + "tests\\tools\\vlcr-popup-floor.exe";
    const auto [floorFirst, floorLast] = MenuPoints(false);
    const double floorMs =
        MeasureFromOutside({"floor (one plain popup)", "\"" + floor + "\" " + std::to_string(ControlHeight(kItems + 2)),
                            "", "VLCR_POPUP_FLOOR", "floor", "VLCR_POPUP_FLOOR_MENU", "floor menu", floorFirst, floorLast},
                           standIn, trigger);
    const auto [menuFirst, menuLast] = MenuPoints(true);
    std::printf("  at %d DPI\n", SystemDpi());
    for (bool saving : {false, true}) {
        const std::string dir = BenchTempFolder();
        PlaceVlcr(build, dir, kItems);
        SetSavingMode(saving);
        const double ms =
            MeasureFromOutside({saving ? "vlcr, memory-saving mode on" : "vlcr, memory-saving mode off",
                                "\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle, kCommandWindowClass,
                                kAppTitle, menuFirst, menuLast},
                               standIn, trigger);
        if (floorMs > 0 && ms > 0)
            std::printf("    %.2f times the floor\n", ms / floorMs);
        Sleep(300);
        RemoveFolder(dir);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
    timeEndPeriod(1);
}

void PopupLatencyFromOutside() { LatencyFromOutside(Trigger::Tray); }
void KeyLatencyFromOutside() { LatencyFromOutside(Trigger::Keys); }
VLCR_BENCHMARK("popup latency: tray message to rows on screen, vlcr against the floor", PopupLatencyFromOutside);
VLCR_BENCHMARK("popup latency: second key release to rows on screen, vlcr against the floor", KeyLatencyFromOutside);

}  // namespace
