#include "core/KeyWatcher.h"

#include <windows.h>

#include "core/DoubleKeyWatch.h"
#include "core/Settings.h"
#include "core/TrayIcon.h"

DoubleKeyState DoubleKey;

namespace {
std::int16_t AsyncKeyState(int virtualKey, void*) { return GetAsyncKeyState(virtualKey); }
}  // namespace

void WatchDoubleKey()
{
    if (PollDoubleKey(DoubleKey, GetTickCount(), GetDoubleClickTime(), Settings.PopupKey, AsyncKeyState, nullptr)) {
        TrayCallback(0, WM_RBUTTONUP);
        FinishDoublePress(DoubleKey);
    }
}
