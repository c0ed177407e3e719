#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "menu/FolderMenu.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/ShellHelpers.h"

namespace {

// From the request (Right on the folder row) to the folder's menu painted on
// screen, its visible rows' icons not waited for: that is what the user sees
// first. The icons' arrival is timed apart.
void FolderMenuOpen()
{
    const std::string dir = StartBenchMenuWindows();
    MakeBenchMenu(1);  // the menu, then its list replaced
    for (int files : {100, 1000, 5000}) {
        const std::string folder = dir + "folder" + std::to_string(files);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < files; ++i) {
            const std::string name = folder + "\\file " + std::to_string(i) + (i % 3 ? ".txt" : ".exe");
            CloseHandle(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        }
        const std::string list = "VELOCARA_LAUNCHLIST_2\r\n\r\n" + folder + "\r\nfolder\r\n\r\n\r\n\r\n";
        HANDLE file = CreateFileA((dir + "Launch.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
        CloseHandle(file);
        ReloadLaunchMenu();
        std::vector<double> shown;
        for (int round = 0; round < 11; ++round) {
            ShowLaunchMenu();
            LaunchMenu->SetSelectedIndex(0);
            PumpBenchMessages();
            const double start = NowMs();
            SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
            TvlcrFolderMenu* menu = nullptr;
            while (!(menu = FolderMenuAt(0)) || menu->ReadState() == TvlcrFolderMenu::State::Reading ||
                   !IsWindowVisible(menu->Handle())) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                PumpBenchMessages();
                if (NowMs() - start > 10000)
                    break;
            }
            if (menu)
                RedrawWindow(menu->Handle(), nullptr, nullptr, RDW_UPDATENOW);
            GdiFlush();
            shown.push_back(NowMs() - start);
            // The icons of the rows on screen come in the next moments.
            const double iconsFrom = NowMs();
            while (NowMs() - iconsFrom < 300) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                PumpBenchMessages();
            }
            HandForegroundBack();
            HideBenchMenu();
        }
        std::printf("  folder of %5d files: request to menu on screen, median of 11: %.1f ms (best %.1f)\n", files,
                    Median(shown), *std::min_element(shown.begin(), shown.end()));
    }
}

}  // namespace

VLCR_BENCHMARK("folder menu: Right on a folder row to its menu on screen", FolderMenuOpen);
