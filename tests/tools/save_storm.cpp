// Saves two different lists in turn into Launch.ini of the folder given, for
// ever; the crash-safety test kills it at random moments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "platform/Dialogs.h"

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const std::string path = argv[1];
    const int counts[2] = {std::atoi(argv[2]), std::atoi(argv[3])};
    // A failed save must end the run, not wait on a message box.
    ShowMessageBox = [](HWND, const char* text, const char*, UINT) {
        std::fprintf(stderr, "%s\n", text);
        std::exit(1);
        return 0;
    };
    CreateLaunchLists();
    for (unsigned round = 0;; ++round) {
        const int n = counts[round % 2];
        ClearLaunchList();
        DblClickCommand = "list" + std::to_string(round % 2);
        for (int i = 0; i < n; ++i) {
            const int k = AddLaunchItem();
            SetLaunchItem(k, "C:\\Tools\\tool" + std::to_string(i) + ".exe", "道具" + std::to_string(i), "-x",
                          "C:\\Tools", "A");
        }
        if (!SaveLaunchListTo(path))
            return 1;
        if (round == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
