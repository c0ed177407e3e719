#include <doctest/doctest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/KeyWatcher.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "core/TrayIcon.h"
#include "platform/Seams.h"
#include "platform/ModulePath.h"
#include "tests/win/MenuTestSupport.h"
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

namespace {
bool CommandWindowShown() { return IsWindowVisible(CommandWindow) != FALSE; }

void Send(LPARAM mouseMessage) { SendMessageA(MainWindow, kTrayCallbackMessage, kTrayIconId, mouseMessage); }
}  // namespace

TEST_CASE("the tray's right-button release shows the menu unless something is open")
{
    MenuFixture fixture;
    fixture.Create(NumberedItems(3));
    REQUIRE_FALSE(CommandWindowShown());

    SUBCASE("only the right-button release shows it")
    {
        for (LPARAM m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                         WM_RBUTTONDBLCLK, WM_MBUTTONUP})
            Send(m);
        CHECK_FALSE(CommandWindowShown());
        CHECK_FALSE(MenuShown);
        Send(WM_RBUTTONUP);
        CHECK(MenuShown);
        CHECK(CommandWindowShown());
    }
    SUBCASE("and the keyboard's choice of the icon, as the shell reports it")
    {
        Send(NIN_KEYSELECT);
        CHECK(MenuShown);
        CHECK(CommandWindowShown());
    }
    SUBCASE("and the shell's request for the icon's menu (Shift+F10, the Applications key)")
    {
        Send(WM_CONTEXTMENU);
        CHECK(MenuShown);
        CHECK(CommandWindowShown());
    }
    SUBCASE("not while a dialog is open")
    {
        DialogShown = true;
        Send(WM_RBUTTONUP);
        CHECK_FALSE(CommandWindowShown());
        CHECK_FALSE(MenuShown);
    }
    SUBCASE("not again while the menu is up")
    {
        MenuShown = true;  // as if shown and not yet closed
        Send(WM_RBUTTONUP);
        CHECK_FALSE(CommandWindowShown());
    }
}

namespace {
// Keys as the keyboard makes them, with the scan code raw input reports.
void Key(WORD vk, bool down)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (vk == VK_RCONTROL ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &in, sizeof in);
}
void Tap(WORD vk)
{
    Key(vk, true);
    Key(vk, false);
}
void Wheel()
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(WHEEL_DELTA);
    SendInput(1, &in, sizeof in);
}
HRESULT WINAPI Presenting(QUERY_USER_NOTIFICATION_STATE* state)
{
    *state = QUNS_PRESENTATION_MODE;
    return S_OK;
}
}  // namespace

TEST_CASE("a double tap heard through raw input asks for the menu; chords, full screen and the setting do not")
{
    MenuFixture fixture;
    fixture.Create(NumberedItems(2));
    Settings.DoubleKeyedPopup = true;
    Settings.PopupKey = VK_LCONTROL;
    FollowDoubleKeySetting();
    const auto tried = [](auto keys) {
        MenuShown = false;
        ShowWindow(CommandWindow, SW_HIDE);
        DoubleKey.Reset();
        keys();
        // The raw input comes through the queue: waited for, a bounded time.
        for (int waited = 0; waited < 400 && !MenuShown; waited += 10)
            PumpMessages(10);
        return MenuShown;
    };
    CHECK(tried([] {
        Tap(VK_LCONTROL);
        Tap(VK_LCONTROL);
    }));
    CHECK_FALSE(tried([] {
        for (int i = 0; i < 2; ++i) {
            Key(VK_LCONTROL, true);
            Tap(VK_TAB);
            Key(VK_LCONTROL, false);
        }
    }));
    CHECK_FALSE(tried([] {
        Tap(VK_LCONTROL);
        Tap(VK_RCONTROL);
    }));
    // Ctrl+wheel, let go, Ctrl+wheel: two zoom steps, no double press.
    CHECK_FALSE(tried([] {
        for (int i = 0; i < 2; ++i) {
            Key(VK_LCONTROL, true);
            PumpMessages(30);  // the mouse is listened to once a tap is under way
            Wheel();
            PumpMessages(30);
            Key(VK_LCONTROL, false);
        }
    }));
    {
        // A maximised window that draws its own title bar is not full screen.
        HWND app = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                   nullptr, nullptr);
        ShowWindow(app, SW_MAXIMIZE);
        SetForegroundWindow(app);
        PumpMessages(30);
        REQUIRE(IsZoomed(app));
        CHECK(tried([] {
            Tap(VK_LCONTROL);
            Tap(VK_LCONTROL);
        }));
        DestroyWindow(app);
    }
    {
        const SeamOverride<NotificationStateFunction> busy(QueryNotificationState, Presenting);
        CHECK_FALSE(tried([] {
            Tap(VK_LCONTROL);
            Tap(VK_LCONTROL);
        }));
    }
    // Turned off, the keyboard is no longer registered: nothing is heard.
    Settings.DoubleKeyedPopup = false;
    FollowDoubleKeySetting();
    CHECK_FALSE(tried([] {
        Tap(VK_LCONTROL);
        Tap(VK_LCONTROL);
    }));
    UINT devices = 0;
    GetRegisteredRawInputDevices(nullptr, &devices, sizeof(RAWINPUTDEVICE));
    CHECK(devices == 0);
    DefaultSettings();
    MenuShown = false;
}

namespace {
int g_refusals = 0;
BOOL WINAPI RefusingShell(DWORD message, NOTIFYICONDATAA* data)
{
    if (message != NIM_DELETE && g_refusals > 0) {
        --g_refusals;
        return FALSE;
    }
    return Shell_NotifyIconA(message, data);
}
}  // namespace

TEST_CASE("an icon the shell refuses at first is offered again until it is taken")
{
    TestMainWindow();
    const SeamOverride<NotifyIconFunction> shell(NotifyIconCall, RefusingShell);
    g_refusals = 3;  // the first add, then a modify and an add of the first retry
    AddTrayIcon();
    CHECK_FALSE(IconPresent());
    SendMessageA(MainWindow, WM_TIMER, kTrayRetryTimer, 0);
    CHECK_FALSE(IconPresent());
    SendMessageA(MainWindow, WM_TIMER, kTrayRetryTimer, 0);
    CHECK(IconPresent());
    // Taken: the retries stop, and a later tick adds no second icon.
    CHECK_FALSE(KillTimer(MainWindow, kTrayRetryTimer));
    DeleteTrayIcon();
    CHECK_FALSE(IconPresent());
}
