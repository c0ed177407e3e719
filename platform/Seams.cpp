#include "platform/Seams.h"

#include <shellapi.h>

#include "platform/SystemLibrary.h"

namespace {
BOOL WINAPI OpenFileDialogOnDemand(OPENFILENAMEW* request)
{
    static const auto dialog = SystemFunction<OpenFileDialogFunction>(L"comdlg32.dll", "GetOpenFileNameW");
    return dialog ? dialog(request) : FALSE;
}

bool NearestMonitor(POINT point, MONITORINFO* info)
{
    info->cbSize = sizeof *info;
    return GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), info) != 0;
}

bool SystemHighContrast()
{
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
}  // namespace

MessageBoxFunction ShowMessageBox = MessageBoxA;
WideMessageBoxFunction ShowWideMessageBox = MessageBoxW;
CodePageFunction AnsiCodePage = GetACP;
OpenFileDialogFunction ShowOpenFileDialog = OpenFileDialogOnDemand;
ShellExecuteFunction ShellExecuteCall = ShellExecuteA;
WideShellExecuteFunction WideShellExecuteCall = ShellExecuteW;
MonitorAtFunction MonitorAt = NearestMonitor;
FileAttributesFunction NetworkFileAttributes = GetFileAttributesW;
HighContrastFunction HighContrastQuery = SystemHighContrast;
TrackPopupMenuFunction TrackPopup = TrackPopupMenu;
OpenFolderAndSelectFunction OpenFolderAndSelect = SHOpenFolderAndSelectItems;
StoreAppsFunction StoreApps = ListStoreApps;
KeyStateFunction AsyncKeyStateCall = GetAsyncKeyState;
NotifyIconFunction NotifyIconCall = Shell_NotifyIconA;
NotificationStateFunction QueryNotificationState = SHQueryUserNotificationState;
std::string LaunchFileDirectory;

std::int16_t AsyncKeyState(int virtualKey, void*) { return AsyncKeyStateCall(virtualKey); }
