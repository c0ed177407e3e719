// The Start menu import: 1,000 shortcuts in nested folders of the user's
// Start menu, from ShowModal to every row on screen, and the longest the
// form's thread went without a timer tick meanwhile (what a key would wait).
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/Bench.h"
#include "core/store/LaunchList.h"
#include "dialogs/StartMenuImport.h"
#include "platform/ShellHelpers.h"
#include "platform/StartMenuFolders.h"

namespace {

struct ImportTiming {
    TfrmStartMenuImport* form = nullptr;
    double start = 0, lastTick = 0, longestGap = 0, allRows = 0, allIcons = 0;
    int rows = 0;
};
ImportTiming* g_timing = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ImportTiming& t = *g_timing;
    const double now = NowMs();
    if (t.lastTick > 0)
        t.longestGap = std::max(t.longestGap, now - t.lastTick);
    t.lastTick = now;
    if (t.allRows == 0 && !t.form->Reading()) {
        UpdateWindow(t.form->lvPrograms);
        t.allRows = NowMs() - t.start;
        t.rows = static_cast<int>(SendMessageA(t.form->lvPrograms, LVM_GETITEMCOUNT, 0, 0));
    }
    if (t.allRows > 0 && !t.form->IconsComing()) {
        UpdateWindow(t.form->lvPrograms);
        t.allIcons = NowMs() - t.start;
        t.form->SetModalResult(mrCancel);
    }
}

void MakeShortcuts(const std::string& root, int count)
{
    CoInitialize(nullptr);
    CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        const std::string folder = root + "\\group " + std::to_string(i / 100);
        const std::string sub = folder + "\\set " + std::to_string(i / 10 % 10);
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA(sub.c_str(), nullptr);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->SetPath("C:\\windows\\notepad.exe")) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            const std::wstring path = Widen(sub + "\\tool " + std::to_string(i) + ".lnk");
            file->Save(path.c_str(), TRUE);
        }
        if (file)
            file->Release();
        if (link)
            link->Release();
    }
    CoUninitialize();
}

void RemoveTree(const std::string& root)
{
    const std::string doubled = root + '\0' + '\0';
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = doubled.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationA(&op);
}

void StartMenuImportReading()
{
    const std::string root = ExactAnsiText(ProgramsFolder(false)).value_or(std::string()) + "\\vlcr bench";
    RemoveTree(root);
    MakeShortcuts(root, 1000);
    CreateLaunchLists();
    for (int run = 0; run < 3; ++run) {
        TfrmStartMenuImport form;
        ImportTiming timing{&form};
        g_timing = &timing;
        const UINT_PTR timer = SetTimer(nullptr, 0, 5, Tick);
        timing.start = NowMs();
        form.ShowModal();
        KillTimer(nullptr, timer);
        g_timing = nullptr;
        std::printf("start menu import, 1,000 shortcuts in 100 folders, run %d: all %d rows on screen after "
                    "%7.1f ms, their own icons after %7.1f ms; the form's thread answered at least every %5.1f ms\n",
                    run + 1, timing.rows, timing.allRows, timing.allIcons, timing.longestGap);
    }
    FreeLaunchLists();
    RemoveTree(root);
}

}  // namespace

VLCR_BENCHMARK("start menu import reading", StartMenuImportReading);
