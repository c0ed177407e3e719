#include "core/TrayIcon.h"

#include <cstring>

#include "core/BusyFlags.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/Dpi.h"
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
    // The system's small-icon size for the DPI, drawn at that size: a 16-pixel
    // icon stretched to 24 would blur.
    TrayIconData.hIcon = LoadProgramIcon(SmallIconSize(WindowDpi(MainWindow)));
    std::strncpy(TrayIconData.szTip, kAppTitle, sizeof TrayIconData.szTip - 1);
    Shell_NotifyIconA(NIM_ADD, &TrayIconData);
}

void DeleteTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &TrayIconData); }

void RefreshTrayIcon()
{
    const int size = SmallIconSize(WindowDpi(MainWindow));
    if (!TrayIconData.hIcon || IconPictureSize(TrayIconData.hIcon).first == size)
        return;
    HICON old = TrayIconData.hIcon;
    TrayIconData.hIcon = LoadProgramIcon(size);
    Shell_NotifyIconA(NIM_MODIFY, &TrayIconData);
    DestroyIcon(old);
}

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
