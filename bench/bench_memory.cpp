// The resident program's private memory, idle with 20 items, read from Linux
// under Wine (RssAnon of its process), against a trivial program with the
// same loop, COM and common controls.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Bench.h"
#include "bench/Outside.h"
#include "core/Resident.h"
#include "platform/Dialogs.h"

namespace {

// RssAnon in KiB of the Linux process whose command line holds `marker`, or
// -1 (not found, or no /proc: Windows).
long ResidentAnonymousKiB(const std::string& marker)
{
    for (const std::string& dir : LinuxProcessFolders(marker)) {
        const std::string status = ReadWholeFile(dir + "status");
        const std::size_t at = status.find("RssAnon:");
        if (at != std::string::npos)
            return std::strtol(status.c_str() + at + 8, nullptr, 10);
    }
    return -1;
}

void Measure(const char* name, const std::string& command, const std::string& folder, const std::string& marker)
{
    const StartedProgram program(command, folder);
    if (!program.started()) {
        std::printf("  %s: cannot start\n", name);
        return;
    }
    Sleep(8000);  // start-up over, and idle a while
    long samples[3];
    for (long& s : samples) {
        s = ResidentAnonymousKiB(marker);
        Sleep(1000);
    }
    std::sort(std::begin(samples), std::end(samples));
    std::printf("  %-40s RssAnon %6.2f MiB\n", name, static_cast<double>(samples[1]) / 1024.0);
}

void ResidentMemory()
{
    const std::string build = BuildFolder();
    std::printf("private memory of the idle resident program (median of 3 readings):\n");
    Measure("floor (loop, COM, common controls)", "\"" + build + "tests\\tools\\vlcr-popup-floor.exe\" 100 tray com",
            "", "vlcr-popup-floor.exe");
    SetSavingMode(false);
    for (const bool real : {false, true}) {
        const std::string dir = BenchTempFolder();
        PlaceVlcr(build, dir, 20);
        if (!real) {
            // Targets that do not exist: the program's own memory, without
            // what the shell keeps for the icons it was asked for.
            std::string text = "VELOCARA_LAUNCHLIST_2\r\n\r\n";
            for (int i = 0; i < 20; ++i)
                text += "C:\\gone\\tool" + std::to_string(i) + ".exe\r\ntool\r\n\r\n\r\n\r\n";
            HANDLE f = CreateFileA((dir + "Launch.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(f);
        }
        Measure(real ? "vlcr, 20 items with icons from the shell" : "vlcr, 20 items whose targets are gone",
                "\"" + dir + "vlcr.exe\"", dir, "vlcr.exe");
        RemoveFolder(dir);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
}
VLCR_BENCHMARK("memory: the idle resident program's private memory", ResidentMemory);

}  // namespace
