#include <cstdio>

#include "bench/Bench.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/IconStrip.h"

namespace {
// Targets of the kinds a list holds: programs, folders, documents, addresses
// and paths that no longer exist.
const char* const kTargets[] = {
    "C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows", "C:\\windows\\win.ini",
    "http://example.com/",      "C:\\gone\\missing.exe",
};

void IconStripBuildLoad()
{
    const std::string dir = BenchTempFolder();
    char oldTmp[MAX_PATH + 1] = {};
    const bool hadTmp = GetEnvironmentVariableA("TMP", oldTmp, sizeof oldTmp) > 0;
    SetEnvironmentVariableA("TMP", dir.c_str());
    const TSettings saved = Settings;
    Settings.ReloadItems = false;
    for (int n : {100, 1000}) {
        CreateLaunchLists();
        for (int i = 0; i < n; ++i)
            SetLaunchItem(AddLaunchItem(), kTargets[i % 6], "", "", "", "");
        BuildIconStrip();  // the shell's caches warm up once
        const double build = MedianMilliseconds(5, [] { BuildIconStrip(); });
        SaveIconStrip();
        const double load = MedianMilliseconds(21, [] { LoadIconStrip(); });
        std::printf("%6d items: BuildIconStrip %9.2f ms, LoadIconStrip %7.2f ms (median of 5 and 21)\n", n, build,
                    load);
        FreeIconStrip();
        FreeLaunchLists();
    }
    Settings = saved;
    DeleteFileA((dir + kIconStripCacheName).c_str());
    RemoveDirectoryA(dir.c_str());
    // The benchmarks after this one make their folders in the real TMP.
    SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : nullptr);
}
VLCR_BENCHMARK("icon strip build and load", IconStripBuildLoad);
}  // namespace
