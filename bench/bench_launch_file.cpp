#include <cstdio>

#include "bench/Bench.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"

namespace {
void LaunchFileLoadSave()
{
    const std::string dir = BenchTempFolder();
    const std::string path = dir + "Launch.ini";
    for (int n : {100, 1000, 10000}) {
        CreateLaunchLists();
        for (int i = 0; i < n; ++i) {
            const int k = AddLaunchItem();
            SetLaunchItem(k, "C:\\Program Files\\ツール\\tool" + std::to_string(i) + ".exe", "",
                          "--option " + std::to_string(i), "C:\\Work", std::string(1, static_cast<char>('A' + i % 26)));
        }
        const double save = MedianMilliseconds(9, [&] { SaveLaunchListTo(path); });
        const double load = MedianMilliseconds(9, [&] { LoadLaunchListFrom(path); });
        std::printf("%6d items: save %8.2f ms, load %8.2f ms (median of 9)\n", n, save, load);
        FreeLaunchLists();
    }
    DeleteFileA(path.c_str());
    RemoveDirectoryA(dir.c_str());
}
VLCR_BENCHMARK("Launch.ini load and save", LaunchFileLoadSave);
}  // namespace
