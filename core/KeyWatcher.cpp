#include "core/KeyWatcher.h"

#include <windows.h>

#include "core/DoubleKeyWatch.h"
#include "core/Settings.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Seams.h"

DoubleKeyState DoubleKey;

void WatchDoubleKey()
{
    if (PollDoubleKey(DoubleKey, GetTickCount(), GetDoubleClickTime(), Settings.PopupKey, AsyncKeyState, nullptr)) {
        RequestLaunchMenu();
        FinishDoublePress(DoubleKey);
    }
}
