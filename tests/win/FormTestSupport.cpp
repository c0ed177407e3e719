#include "tests/win/FormTestSupport.h"

#include <doctest/doctest.h>

namespace {
std::vector<FormWatch*> g_watches;
HHOOK g_hook = nullptr;
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kTimeoutTimer = 2;
constexpr UINT kStepDelayMs = 40;
}  // namespace

FormDriver::FormDriver(std::vector<Step> steps, DWORD timeoutMs) : steps_(std::move(steps)), timeoutMs_(timeoutMs)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VlcrFormDriver";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FormDriver::~FormDriver() { DestroyWindow(window_); }

FormWatch::FormWatch(std::function<void(Form&)> onShown) : onShown_(std::move(onShown))
{
    if (g_watches.empty())
        g_hook = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    g_watches.push_back(this);
}

FormWatch::~FormWatch()
{
    std::erase(g_watches, this);
    if (g_watches.empty()) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

LRESULT CALLBACK FormWatch::Hook(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    // A form comes on screen with ShowWindow, which sends it WM_SHOWWINDOW.
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_SHOWWINDOW && sent->wParam)
        if (auto* form = dynamic_cast<Form*>(Window::FromHandle(sent->hwnd)))
            for (FormWatch* watch : std::vector<FormWatch*>(g_watches))
                watch->onShown_(*form);
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void FormDriver::Shown(Form& form)
{
    shown_.push_back(&form);
    if (shown_.size() == 1) {
        SetTimer(window_, kStepTimer, kStepDelayMs, nullptr);
        SetTimer(window_, kTimeoutTimer, timeoutMs_, nullptr);
    }
}

void FormDriver::RunNext()
{
    if (next_ >= steps_.size()) {
        KillTimer(window_, kStepTimer);
        return;
    }
    // The timer goes on, so that a step that opens a nested form finds the
    // next step running inside that form's loop.
    Step& step = steps_[next_++];
    step(*shown_.back());
}

LRESULT CALLBACK FormDriver::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* self = reinterpret_cast<FormDriver*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && self) {
        if (wParam == kStepTimer) {
            self->RunNext();
        } else if (wParam == kTimeoutTimer) {
            KillTimer(hwnd, kTimeoutTimer);
            KillTimer(hwnd, kStepTimer);
            self->timedOut_ = true;
            for (Form* form : self->shown_)
                if (form->Showing())
                    form->SetModalResult(mrCancel);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void PostKey(HWND target, WPARAM key)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(target, WM_KEYDOWN, key, 1 | scan);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(1 | scan | 0xC0000000u));
}

void PostChar(HWND target, wchar_t character) { PostMessageW(target, WM_CHAR, character, 1); }

void PostAltKey(HWND target, char letter)
{
    // Bit 29: the Alt key is down.
    PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(letter), static_cast<LPARAM>(1 | 0x20000000));
}

void ClickAt(HWND control, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(control, WM_LBUTTONUP, 0, at);
}

HWND FocusedControl() { return GetFocus(); }

RECT ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CheckChildRect(HWND child, int x, int y, int width, int height)
{
    const RECT r = ChildRect(child);
    CHECK(r.left == x);
    CHECK(r.top == y);
    CHECK(r.right - r.left == width);
    CHECK(r.bottom - r.top == height);
}

void GiveFont(HWND form, const char* face, int height)
{
    static std::vector<HFONT> fonts;  // for the program's life: forms keep using them
    const HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    fonts.push_back(font);
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

int CaptionWidth(HWND control)
{
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right - r.left;
}
