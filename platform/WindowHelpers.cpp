#include "platform/WindowHelpers.h"

#include <shellapi.h>

#include <atomic>
#include <memory>

#include "platform/BackgroundJob.h"
#include "platform/ModulePath.h"
#include "platform/PathText.h"
#include "platform/Raii.h"
#include "platform/Seams.h"
#include "platform/TaskbarEdge.h"

std::string GetTempDirectory()
{
    char buffer[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathA(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH)
        return std::string(".\\");  // nowhere better: the current folder
    return WithTrailingBackslash(std::string(buffer, n), IsAnsiLeadByte);
}

HICON ExtractFileIcon(const std::string& fileName, int index, bool large)
{
    HICON big = nullptr;
    HICON small = nullptr;
    // A missing file answers UINT_MAX, not 0, and leaves junk in both places:
    // only a count of icons extracted makes the handles worth anything.
    const UINT extracted = ExtractIconExA(fileName.c_str(), index, &big, &small, 1);
    if (extracted == 0 || extracted == UINT_MAX)
        return nullptr;
    HICON keep = large ? big : small;
    HICON drop = large ? small : big;
    if (drop)
        DestroyIcon(drop);
    return keep;
}

std::pair<int, int> IconPictureSize(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    UniqueBitmap colour(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    BITMAP bm{};
    if (colour && GetObjectA(colour.get(), sizeof bm, &bm))
        return {bm.bmWidth, bm.bmHeight};
    if (mask && GetObjectA(mask.get(), sizeof bm, &bm))
        return {bm.bmWidth, bm.bmHeight / 2};  // a monochrome icon: AND mask over XOR mask
    return {0, 0};
}

HICON LoadProgramIcon(int size)
{
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

RECT GetTaskbarRect()
{
    RECT r{0, 0, 0, 0};
    HWND taskbar = FindWindowA("Shell_TrayWnd", "");
    if (!taskbar)
        return r;
    EnableWindow(taskbar, TRUE);
    if (!GetWindowRect(taskbar, &r))
        r = RECT{0, 0, 0, 0};
    return r;
}

namespace {

// ABM_GETAUTOHIDEBAREX, from Windows 8 on; earlier ones answer nothing.
constexpr DWORD kGetAutoHideBarEx = 0x0000000B;
// The shell answers at once when it answers at all; a menu waits no longer.
constexpr DWORD kShellAnswerMs = 250;

ScreenRect ToScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The bars that hide themselves on the monitor's four edges, as the shell
// names them. The shell may be sending to one of our windows while it is
// asked (under Wine it does, for every window we make), and the question
// waits without taking sent messages: so it is asked from a thread of its
// own. While a question the shell never answered is still out (it lives as
// long as its thread), it is not asked again.
std::atomic<bool> g_questionOut{false};
struct HiddenBars {
    HWND onEdge[4] = {};
    HiddenBars() { g_questionOut = true; }
    ~HiddenBars() { g_questionOut = false; }
    HiddenBars(const HiddenBars&) = delete;
    HiddenBars& operator=(const HiddenBars&) = delete;
};
std::shared_ptr<HiddenBars> AskShellForHiddenBars(const RECT& monitor)
{
    if (g_questionOut.load())
        return nullptr;
    auto asked = std::make_shared<HiddenBars>();
    const bool answered = RunAsideAndWait(
        [asked, monitor] {
            const UINT edges[4] = {ABE_BOTTOM, ABE_LEFT, ABE_TOP, ABE_RIGHT};
            for (int i = 0; i < 4; ++i) {
                APPBARDATA data{};
                data.cbSize = sizeof data;
                data.uEdge = edges[i];
                data.rc = monitor;
                asked->onEdge[i] = reinterpret_cast<HWND>(SHAppBarMessage(kGetAutoHideBarEx, &data));
            }
        },
        kShellAnswerMs);
    return answered ? asked : nullptr;
}

}  // namespace

RECT GetTaskbarRectOn(const MonitorArea& area)
{
    const ScreenRect monitor = ToScreenRect(area.monitor);
    const ScreenRect strip = BarFromWorkArea(monitor, ToScreenRect(area.work));
    if (!strip.Empty())
        return RECT{strip.left, strip.top, strip.right, strip.bottom};
    // The work area is the whole monitor: the bar hides itself, or there is
    // none. The shell knows of a hidden one by its edge.
    if (const auto hidden = AskShellForHiddenBars(area.monitor))
        for (HWND bar : hidden->onEdge) {
            RECT r{};
            if (bar && IsWindow(bar) && GetWindowRect(bar, &r) && BarReaches(ToScreenRect(r), monitor))
                return r;
        }
    // The taskbars' own windows have the last word.
    const RECT main = GetTaskbarRect();
    if (BarReaches(ToScreenRect(main), monitor))
        return main;
    for (HWND bar = FindWindowExA(nullptr, nullptr, "Shell_SecondaryTrayWnd", nullptr); bar;
         bar = FindWindowExA(nullptr, bar, "Shell_SecondaryTrayWnd", nullptr)) {
        RECT r{};
        if (IsWindowVisible(bar) && GetWindowRect(bar, &r) && BarReaches(ToScreenRect(r), monitor))
            return r;
    }
    return RECT{0, 0, 0, 0};
}

MonitorArea MonitorAreaAt(POINT point)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    MonitorArea area;
    if (MonitorAt(point, &info)) {
        area.monitor = info.rcMonitor;
        area.work = info.rcWork;
    } else {
        area.monitor = area.work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return area;
}

MonitorArea MonitorAreaOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return MonitorAreaAt(POINT{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2});
}

MonitorArea MonitorAreaAtPointer()
{
    POINT p{};
    GetCursorPos(&p);
    return MonitorAreaAt(p);
}

namespace {

// A program that answers at all answers a null message at once; one that
// does not within this time is busy or hung.
constexpr UINT kForegroundAnswerMs = 100;

bool AnswersAtOnce(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kForegroundAnswerMs, &result) !=
           0;
}

}  // namespace

void ForceForegroundWindow(HWND target)
{
    HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    // With the input shared, taking the activation waits until the other
    // program has handled its deactivation: 5-7 ms under Wine, and for as
    // long as it hangs when it hangs. So the foreground is asked for plainly
    // first; the input is shared only where the foreground lock refused
    // that, and never with a program that does not answer at once.
    SetForegroundWindow(target);
    const bool granted = GetForegroundWindow() == target;
    if (granted) {
        BringWindowToTop(target);
        return;
    }
    const bool attach = !foreground || foregroundThread == ownThread || AnswersAtOnce(foreground);
    if (attach)
        AttachThreadInput(ownThread, foregroundThread, TRUE);
    // The lock time-out is the session's: it is lowered only when the value
    // to put back is known, and put back at once.
    DWORD savedTimeout = 0;
    const bool lowered = SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0) &&
                         savedTimeout != 0 &&
                         // For this action the new timeout travels as the pointer argument's value.
                         SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetForegroundWindow(target);
    SetActiveWindow(target);
    if (lowered)
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<PVOID>(static_cast<UINT_PTR>(savedTimeout)), 0);
    if (attach)
        AttachThreadInput(ownThread, foregroundThread, FALSE);
    BringWindowToTop(target);
}

namespace {

bool IsDesktopOrTaskbar(HWND window)
{
    if (window == GetDesktopWindow() || window == GetShellWindow())
        return true;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    for (const char* shell : {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"})
        if (lstrcmpA(name, shell) == 0)
            return true;
    return false;
}

bool CoversItsMonitor(HWND window)
{
    // A window that keeps its title bar, or is maximised (a browser drawing
    // its own title bar), is no full-screen one, even where an auto-hidden
    // taskbar lets it reach the monitor's edges.
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION || IsIconic(window) || IsZoomed(window))
        return false;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT r{};
    if (!monitor || !GetMonitorInfoA(monitor, &info) || !GetWindowRect(window, &r))
        return false;
    const RECT& m = info.rcMonitor;
    return r.left <= m.left && r.top <= m.top && r.right >= m.right && r.bottom >= m.bottom;
}

}  // namespace

bool FullScreenInFront()
{
    QUERY_USER_NOTIFICATION_STATE state{};
    if (SUCCEEDED(QueryNotificationState(&state)) &&
        (state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE))
        return true;
    HWND front = GetForegroundWindow();
    return front && !IsDesktopOrTaskbar(front) && CoversItsMonitor(front);
}
