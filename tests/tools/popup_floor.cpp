// The floor for the launch menu's latency and idle cost: a trivial resident
// program that waits in GetMessage with the keyboard's raw input registered,
// as the launcher does, and shows one plain popup when its hidden window gets
// the tray message or hears a double tap of left Ctrl.
// The popup is 180 px wide at the screen's top right, the first 22 px in the
// selected row's left-column colour and the rest in the normal one, so that a
// benchmark can watch the same screen pixels as for the launcher.
//   vlcr-popup-floor.exe <height> [tray] [com]
// With "tray" it also adds a notification icon at once, the floor for the
// start-up to the tray icon. With "com" it also starts COM and the common
// controls, as the launcher does: the floor for the resident memory. Deactivation hides the popup again; WM_CLOSE to
// the hidden window ends it (and takes the icon away).
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>
#include <cstring>

#include "core/DoubleKeyWatch.h"

namespace {

constexpr UINT kTrayMessage = WM_USER + 50;
constexpr int kWidth = 180;
constexpr int kFirstRowBottom = 22;
constexpr COLORREF kFirstRowColour = 0x00FFE6C8;
constexpr COLORREF kOtherRowsColour = 0x00C8E6FF;

HWND g_popup = nullptr;
int g_height = 2042;
bool g_shown = false;
bool g_quit = false;
DoubleTapWatch g_taps;

void ShowPopup()
{
    if (g_shown)
        return;
    g_shown = true;
    SetWindowPos(g_popup, HWND_TOPMOST, GetSystemMetrics(SM_CXSCREEN) - kWidth, 0, kWidth, g_height, SWP_SHOWWINDOW);
    SetForegroundWindow(g_popup);
}

void HearRawInput(LPARAM lParam)
{
    RAWINPUT data{};
    UINT size = sizeof data;
    if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &data, &size, sizeof(RAWINPUTHEADER)) ==
            static_cast<UINT>(-1) ||
        data.header.dwType != RIM_TYPEKEYBOARD)
        return;
    const RAWKEYBOARD& k = data.data.keyboard;
    if (g_taps.Key(SidedKey(k.VKey, k.MakeCode, (k.Flags & RI_KEY_E0) != 0), (k.Flags & RI_KEY_BREAK) == 0,
                   GetTickCount(), TapRules{162, GetDoubleClickTime()}))
        ShowPopup();
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r{};
        GetClientRect(hwnd, &r);
        HBRUSH first = CreateSolidBrush(kFirstRowColour);
        HBRUSH others = CreateSolidBrush(kOtherRowsColour);
        const RECT top{0, 0, r.right, kFirstRowBottom}, rest{0, kFirstRowBottom, r.right, r.bottom};
        FillRect(dc, &top, first);
        FillRect(dc, &rest, others);
        DeleteObject(first);
        DeleteObject(others);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_ACTIVATEAPP:
        if (!wParam) {
            ShowWindow(hwnd, SW_HIDE);
            g_shown = false;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == kTrayMessage && lParam == WM_RBUTTONUP) {
        ShowPopup();
        return 0;
    }
    if (message == WM_INPUT)
        HearRawInput(lParam);
    if (message == WM_CLOSE) {
        g_quit = true;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int)
{
    if (args && *args)
        g_height = std::atoi(args);
    WNDCLASSA main{};
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.lpszClassName = "VLCR_POPUP_FLOOR";
    RegisterClassA(&main);
    WNDCLASSA popup{};
    popup.lpfnWndProc = PopupProc;
    popup.hInstance = instance;
    popup.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    popup.lpszClassName = "VLCR_POPUP_FLOOR_MENU";
    RegisterClassA(&popup);
    HWND hidden = CreateWindowExA(WS_EX_TOOLWINDOW, main.lpszClassName, "floor", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = hidden;
    icon.uFlags = NIF_ICON | NIF_MESSAGE;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    const bool tray = args && std::strstr(args, "tray");
    const bool com = args && std::strstr(args, "com");
    if (com) {
        OleInitialize(nullptr);
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }
    if (tray)
        Shell_NotifyIconA(NIM_ADD, &icon);
    g_popup = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, popup.lpszClassName, "floor menu", WS_POPUP, 0, 0,
                              kWidth, g_height, nullptr, nullptr, instance, nullptr);
    const RAWINPUTDEVICE keyboard{0x01, 0x06, RIDEV_INPUTSINK, hidden};
    RegisterRawInputDevices(&keyboard, 1, sizeof keyboard);
    MSG msg;
    while (!g_quit && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (tray)
        Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
