#include <doctest/doctest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "core/BusyFlags.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "core/TrayIcon.h"
#include "platform/ModulePath.h"
#include "tests/win/WinTestSupport.h"

namespace {
// Whether the shell holds our icon: modifying an icon it does not know fails.
bool IconPresent()
{
    NOTIFYICONDATAA probe = TrayIconData;
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

std::string RecorderLog() { return ExecutableDirectory() + "..\\tools\\recorder.log"; }
std::string RecorderExe() { return ExecutableDirectory() + "..\\tools\\vlcr-recorder.exe"; }

bool WaitForFile(const std::string& path, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (FileExists(path) && !ReadBytes(path).empty())
            return true;
        Sleep(20);
    }
    return false;
}
}  // namespace

TEST_CASE("the icon record: first-version layout, callback 1074, the program's tip")
{
    TestMainWindow();
    AddTrayIcon();
    CHECK(TrayIconData.cbSize == NOTIFYICONDATAA_V1_SIZE);
    CHECK(TrayIconData.cbSize == offsetof(NOTIFYICONDATAA, szTip) + 64);
    CHECK(TrayIconData.hWnd == MainWindow);
    CHECK(TrayIconData.uFlags == 7);
    CHECK(TrayIconData.uCallbackMessage == 1074);
    CHECK(TrayIconData.hIcon != nullptr);  // the small icon 0 of the executable
    CHECK(std::string(TrayIconData.szTip) == "迅 -velocara-");
    const std::size_t tip = std::strlen(TrayIconData.szTip);
    bool restZero = true;
    for (std::size_t i = tip; i < sizeof TrayIconData.szTip; ++i)
        restZero = restZero && TrayIconData.szTip[i] == 0;
    CHECK(restZero);
    CHECK(IconPresent());
    DeleteTrayIcon();
    CHECK_FALSE(IconPresent());
    DeleteTrayIcon();  // a second delete finds nothing and does no harm
    CHECK_FALSE(IconPresent());
}

TEST_CASE("a re-created taskbar gets the icon again")
{
    const HWND hwnd = TestMainWindow();
    AddTrayIcon();
    DeleteTrayIcon();  // the restarted shell knows nothing of it
    REQUIRE_FALSE(IconPresent());
    SendMessageA(hwnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    CHECK(IconPresent());
    // Repeated restarts keep exactly one icon.
    SendMessageA(hwnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    DeleteTrayIcon();
    CHECK_FALSE(IconPresent());
}

TEST_CASE("a left double click runs the double-click command, busy or not")
{
    const HWND hwnd = TestMainWindow();
    DeleteFileA(RecorderLog().c_str());
    DblClickCommand = "\"" + RecorderExe() + "\" --from-tray 2";
    DialogShown = true;
    MenuShown = true;
    SendMessageA(hwnd, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);
    DialogShown = MenuShown = false;
    REQUIRE(WaitForFile(RecorderLog(), 10000));
    CHECK(ReadBytes(RecorderLog()).find("args=--from-tray 2\r\n") != std::string::npos);
    DeleteFileA(RecorderLog().c_str());

    // Other notifications start nothing.
    for (LPARAM m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MBUTTONUP})
        SendMessageA(hwnd, kTrayCallbackMessage, kTrayIconId, m);
    DblClickCommand.clear();
    SendMessageA(hwnd, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);  // empty: nothing
    CHECK_FALSE(WaitForFile(RecorderLog(), 700));
}
