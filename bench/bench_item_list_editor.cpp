#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "bench/Bench.h"
#include "core/LaunchList.h"
#include "dialogs/ItemListEditor.h"

namespace {
// Targets of the kinds a list holds: programs, folders, documents, addresses
// and paths that no longer exist.
const char* const kTargets[] = {
    "C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows", "C:\\windows\\win.ini",
    "http://example.com/",      "C:\\gone\\missing.exe",
};

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// From ShowModal to the list view painted: the form's own first paint has
// run when it reports itself shown; any paint still owed is done here.
double OpenOnce(int& lookups, int& paintsOwed)
{
    TfrmItemListEditor form;
    double shown = 0;
    Form::OnShown = [&](Form& f) {
        auto& editor = static_cast<TfrmItemListEditor&>(f);
        paintsOwed = GetUpdateRect(editor.lvList, nullptr, FALSE) ? 1 : 0;
        UpdateWindow(editor.lvList);
        shown = Now();
        lookups = editor.IconLookups();
        f.SetModalResult(mrOk);
    };
    const double start = Now();
    form.ShowModal();
    Form::OnShown = nullptr;
    return shown - start;
}

void ItemListEditorOpen()
{
    for (int n : {100, 1000}) {
        CreateLaunchLists();
        for (int i = 0; i < n; ++i)
            SetLaunchItem(AddLaunchItem(), kTargets[i % 6], "item" + std::to_string(i), "", "", "");
        int lookups = 0, owed = 0;
        OpenOnce(lookups, owed);  // the shell's caches warm up once
        double times[7];
        for (double& t : times)
            t = OpenOnce(lookups, owed);
        std::sort(std::begin(times), std::end(times));
        std::printf("%6d items: ShowModal to list painted %7.2f ms (median of 7, worst %7.2f), %d icon lookups, "
                    "paint owed after show: %d\n",
                    n, times[3], times[6], lookups, owed);
        FreeLaunchLists();
    }
}
VLCR_BENCHMARK("item list editor open", ItemListEditorOpen);
}  // namespace
