#include "core/TrayIcon.h"

#include <cstring>

#include "core/BusyFlags.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/WindowHelpers.h"

NOTIFYICONDATAA TrayIconData{};

void AddTrayIcon()
{
    if (TrayIconData.hIcon)
        DestroyIcon(TrayIconData.hIcon);  // a re-add after a shell restart
    TrayIconData = NOTIFYICONDATAA{};
    TrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayIconData.hWnd = MainWindow;
    TrayIconData.uID = kTrayIconId;
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIconData.uCallbackMessage = kTrayCallbackMessage;
    TrayIconData.hIcon = ExtractFileIcon(ExecutablePath(), 0, false);
    std::strncpy(TrayIconData.szTip, kAppTitle, sizeof TrayIconData.szTip - 1);
    Shell_NotifyIconA(NIM_ADD, &TrayIconData);
}

void DeleteTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &TrayIconData); }

void TrayCallback(WPARAM, LPARAM lParam)
{
    if (lParam == WM_LBUTTONDBLCLK)
        RunDblClickCommand();
    if (lParam == WM_RBUTTONUP)
        RequestLaunchMenu();
}

void RunDblClickCommand()
{
    if (!DblClickCommand.empty())
        WinExec(DblClickCommand.c_str(), SW_SHOW);
}

UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}
