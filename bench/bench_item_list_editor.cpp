#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "bench/Bench.h"
#include "core/store/LaunchList.h"
#include "dialogs/ItemListEditor.h"

namespace {
// Targets of the kinds a list holds: programs, folders, documents, addresses
// and paths that no longer exist.
const char* const kTargets[] = {
    "C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows", "C:\\windows\\win.ini",
    "http://example.com/",      "C:\\gone\\missing.exe",
};

// The first message the form's modal loop takes: its first paint has run by
// then; any paint still owed is done here, and the time taken.
struct OpenTiming {
    TfrmItemListEditor* form = nullptr;
    double shown = 0;
    int paintsOwed = 0;
};

LRESULT CALLBACK TimingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message != WM_APP)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    auto* timing = reinterpret_cast<OpenTiming*>(lParam);
    timing->paintsOwed = GetUpdateRect(timing->form->lvList, nullptr, FALSE) ? 1 : 0;
    UpdateWindow(timing->form->lvList);
    timing->shown = NowMs();
    timing->form->SetModalResult(mrOk);
    return 0;
}

// From ShowModal to the list view painted.
double OpenOnce(HWND timer, int& paintsOwed)
{
    TfrmItemListEditor form;
    OpenTiming timing{&form};
    PostMessageA(timer, WM_APP, 0, reinterpret_cast<LPARAM>(&timing));
    const double start = NowMs();
    form.ShowModal();
    paintsOwed = timing.paintsOwed;
    return timing.shown - start;
}

void ItemListEditorOpen()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = TimingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VlcrBenchTiming";
    RegisterClassA(&wc);
    const HWND timer = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                       nullptr);
    for (int n : {100, 1000}) {
        CreateLaunchLists();
        for (int i = 0; i < n; ++i)
            SetLaunchItem(AddLaunchItem(), kTargets[i % 6], "item" + std::to_string(i), "", "", "");
        int owed = 0;
        OpenOnce(timer, owed);  // the shell's caches warm up once
        double times[7];
        for (double& t : times)
            t = OpenOnce(timer, owed);
        std::sort(std::begin(times), std::end(times));
        std::printf("%6d items: ShowModal to list painted %7.2f ms (median of 7, worst %7.2f), "
                    "paint owed after show: %d\n",
                    n, times[3], times[6], owed);
        FreeLaunchLists();
    }
    DestroyWindow(timer);
}
VLCR_BENCHMARK("item list editor open", ItemListEditorOpen);
}  // namespace
