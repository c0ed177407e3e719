#include "core/TrayIcon.h"

#include <cstring>

#include "core/BusyFlags.h"
#include "core/store/LaunchList.h"
#include "core/ProgramWindows.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/Dpi.h"
#include "platform/ModulePath.h"
#include "platform/Seams.h"
#include "platform/WindowHelpers.h"

NOTIFYICONDATAA TrayIconData{};

namespace {
int trayRetriesLeft = 0;
}  // namespace

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
    // A copy run as administrator hears the restarted shell only if it lets
    // the message through.
    ChangeWindowMessageFilterEx(MainWindow, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    trayRetriesLeft = 0;
    KillTimer(MainWindow, kTrayRetryTimer);
    if (!NotifyIconCall(NIM_ADD, &TrayIconData)) {
        // An Explorer still starting at logon refuses it: asked again until
        // it takes it, for a few minutes.
        trayRetriesLeft = kTrayRetries;
        SetTimer(MainWindow, kTrayRetryTimer, kTrayRetryMs, nullptr);
    }
}

void ShowTrayBalloon(const std::string& text)
{
    if (text.empty())
        return;
    // The balloon needs the later layout of the structure; the icon itself
    // keeps the first one.
    NOTIFYICONDATAA balloon{};
    balloon.cbSize = sizeof balloon;
    balloon.hWnd = MainWindow;
    balloon.uID = kTrayIconId;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
    std::strncpy(balloon.szInfoTitle, kAppTitle, sizeof balloon.szInfoTitle - 1);
    // Cut at a character's start: half a double-byte character would garble it.
    std::size_t n = 0;
    while (n < text.size()) {
        const std::size_t step = IsAnsiLeadByte(static_cast<unsigned char>(text[n])) && n + 1 < text.size() ? 2 : 1;
        if (n + step > sizeof balloon.szInfo - 1)
            break;
        n += step;
    }
    std::memcpy(balloon.szInfo, text.data(), n);
    NotifyIconCall(NIM_MODIFY, &balloon);
}

void RetryTrayIcon()
{
    // A refused add may still have reached a shell that was only slow to
    // answer: the icon is then there to modify.
    const bool there = NotifyIconCall(NIM_MODIFY, &TrayIconData) || NotifyIconCall(NIM_ADD, &TrayIconData);
    if (there || --trayRetriesLeft <= 0) {
        trayRetriesLeft = 0;
        KillTimer(MainWindow, kTrayRetryTimer);
    }
}

void DeleteTrayIcon()
{
    trayRetriesLeft = 0;
    KillTimer(MainWindow, kTrayRetryTimer);
    NotifyIconCall(NIM_DELETE, &TrayIconData);
}

void RefreshTrayIcon()
{
    const int size = SmallIconSize(WindowDpi(MainWindow));
    if (!TrayIconData.hIcon || IconPictureSize(TrayIconData.hIcon).first == size)
        return;
    HICON old = TrayIconData.hIcon;
    TrayIconData.hIcon = LoadProgramIcon(size);
    NotifyIconCall(NIM_MODIFY, &TrayIconData);
    DestroyIcon(old);
}

void TrayCallback(WPARAM, LPARAM lParam)
{
    if (lParam == WM_LBUTTONDBLCLK)
        RunDblClickCommand();
    // The right button, and the keyboard (Win+B, the arrows, then Enter,
    // Space, Shift+F10 or the Applications key): an icon of the first
    // version hears those as the right button; the shell of other versions
    // sends the key selection and the context menu request.
    if (lParam == WM_RBUTTONUP || lParam == NIN_KEYSELECT || lParam == WM_CONTEXTMENU)
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
