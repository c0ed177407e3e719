#include "controls/Label.h"

#include <string>

#include "platform/Raii.h"

namespace {

struct LabelState {
    LabelStyle style;
    bool pressed = false;
};

LabelState* StateOf(HWND hwnd) { return reinterpret_cast<LabelState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

std::string TextOf(HWND hwnd)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

UINT TextFormat(const LabelStyle& style)
{
    UINT format = DT_SINGLELINE | DT_EXPANDTABS;
    format |= style.align == LabelAlign::Right ? DT_RIGHT : style.align == LabelAlign::Center ? DT_CENTER : DT_LEFT;
    format |= style.vertCenter ? DT_VCENTER : DT_TOP;
    return format;
}

void FitToText(HWND hwnd, const LabelState& state)
{
    const std::string text = TextOf(hwnd);
    WindowDc dc(hwnd);
    SelectGuard font(dc.get(), state.style.font ? state.style.font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, 0, 0};
    DrawTextA(dc.get(), text.c_str(), -1, &r, TextFormat(state.style) | DT_CALCRECT);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintParentBackground(HWND hwnd, HDC dc)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    POINT origin{0, 0};
    MapWindowPoints(hwnd, parent, &origin, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    PaintLabel(hwnd, dc);
    EndPaint(hwnd, &ps);
}

void OnButtonUp(HWND hwnd, LabelState& state, LPARAM lParam)
{
    if (!state.pressed)
        return;
    state.pressed = false;
    ReleaseCapture();
    RECT r;
    GetClientRect(hwnd, &r);
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (PtInRect(&r, p))
        SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    LabelState* state = StateOf(hwnd);
    if (!state)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete state;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_PRINTCLIENT:
        PaintLabel(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETFONT:
        state->style.font = reinterpret_cast<HFONT>(wParam);
        if (state->style.autoSize)
            FitToText(hwnd, *state);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->style.font);
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
        if (state->style.autoSize)
            FitToText(hwnd, *state);
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (state->style.link) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (state->style.link) {
            state->pressed = true;
            SetCapture(hwnd);
        }
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(hwnd, *state, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        state->pressed = false;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterLabelClass(HINSTANCE instance)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, kLabelClass, &wc))
        return;
    wc.lpfnWndProc = LabelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kLabelClass;
    RegisterClassA(&wc);
}

}  // namespace

HWND CreateLabel(HWND parent, int id, int x, int y, int width, int height, const char* text,
                 const LabelStyle& style)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterLabelClass(instance);
    auto* state = new LabelState{style};
    DWORD windowStyle = WS_CHILD | WS_VISIBLE;
    if (!style.enabled)
        windowStyle |= WS_DISABLED;
    HWND hwnd = CreateWindowExA(0, kLabelClass, text, windowStyle, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, state);
    if (!hwnd) {
        delete state;
        return nullptr;
    }
    if (style.autoSize)
        FitToText(hwnd, *state);
    return hwnd;
}

void PaintLabel(HWND label, HDC dc)
{
    const LabelState* state = StateOf(label);
    if (!state)
        return;
    PaintParentBackground(label, dc);
    RECT r;
    GetClientRect(label, &r);
    const std::string text = TextOf(label);
    SelectGuard font(dc, state->style.font ? state->style.font : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    const UINT format = TextFormat(state->style);
    // A substitute font taller than the label would push a link's underline
    // below its last row: the text moves up by what it overhangs.
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(dc, &metrics) && metrics.tmUnderlined && !state->style.vertCenter &&
        metrics.tmHeight > r.bottom - r.top)
        OffsetRect(&r, 0, (r.bottom - r.top) - metrics.tmHeight);
    if (IsWindowEnabled(label)) {
        SetTextColor(dc, state->style.color);
        DrawTextA(dc, text.c_str(), -1, &r, format);
    } else {
        // The embossed look: a highlight copy one pixel lower right, the
        // shadow-coloured text over it.
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), -1, &shifted, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextA(dc, text.c_str(), -1, &r, format);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
