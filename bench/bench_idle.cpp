// What the resident program costs while nobody uses it: the real vlcr.exe with
// 20 items and the floor program (waiting in GetMessage with the keyboard's
// raw input registered) each left alone for 10 s in the same run, their
// context switches and processor time, and the wineserver's, read from Linux.
#include <cstdio>
#include <string>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "bench/Outside.h"
#include "core/CommandWindow.h"
#include "core/Resident.h"
#include "platform/Dialogs.h"

namespace {

constexpr DWORD kIdleMs = 10000;

void MeasureIdle(const char* name, const std::string& command, const std::string& folder, const char* cls,
                 const char* title, const std::string& marker)
{
    const StartedProgram program(command, folder);
    if (!program.started() || !WaitWindow(cls, title, 20000)) {
        std::printf("  %s: did not start\n", name);
        return;
    }
    Sleep(3000);  // start-up over: splash gone, strip built, main window hidden
    const long long switches0 = LinuxContextSwitches(marker);
    const double own0 = LinuxProcessorMs(marker), server0 = LinuxProcessorMs("wineserver");
    const double t0 = NowMs();
    Sleep(kIdleMs);
    const double seconds = (NowMs() - t0) / 1000.0;
    const long long switches = LinuxContextSwitches(marker) - switches0;
    const double own = LinuxProcessorMs(marker) - own0, server = LinuxProcessorMs("wineserver") - server0;
    if (switches0 < 0) {
        std::printf("  %s: no /proc to read here\n", name);
        return;
    }
    std::printf("  %-26s %6lld context switches (%6.1f a second), %6.0f ms of processor (%5.2f %% of a core); "
                "the wineserver %6.0f ms (%5.2f %%)\n",
                name, switches, static_cast<double>(switches) / seconds, own, own / seconds / 10.0, server,
                server / seconds / 10.0);
}

void IdleFromOutside()
{
    const std::string build = BuildFolder();
    const ForegroundStandIn standIn;
    std::printf("idle for %lu s, menu hidden, another program in front:\n", kIdleMs / 1000);
    MeasureIdle("floor (GetMessage, raw input)",
                "\"" + build + "tests\\tools\\vlcr-popup-floor.exe\" 100", "", "VLCR_POPUP_FLOOR", "floor",
                "vlcr-popup-floor.exe");
    const std::string dir = BenchTempFolder();
    PlaceVlcr(build, dir, 20);
    SetSavingMode(false);
    MeasureIdle("vlcr, 20 items", "\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle, "vlcr.exe");
    Sleep(300);
    RemoveFolder(dir);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
}
VLCR_BENCHMARK("idle: wake-ups and processor time, vlcr against the floor", IdleFromOutside);

}  // namespace
