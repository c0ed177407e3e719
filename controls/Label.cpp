#include "controls/Label.h"

#include <memory>
#include <string>

#include "platform/Accessible.h"
#include "platform/HighContrast.h"
#include "platform/Raii.h"
#include "platform/Window.h"

namespace {

class LabelWindow;
void Paint(const LabelWindow& label, HDC dc);

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

void FitToText(HWND hwnd, const LabelStyle& style)
{
    const std::string text = TextOf(hwnd);
    WindowDc dc(hwnd);
    SelectGuard font(dc.get(), style.font ? style.font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, 0, 0};
    DrawTextA(dc.get(), text.c_str(), -1, &r, TextFormat(style) | DT_CALCRECT);
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

class LabelWindow final : public Window, private AccessibleSource {
public:
    explicit LabelWindow(const LabelStyle& labelStyle) : style(labelStyle) {}
    void Open(HWND parent, int id, int x, int y, int width, int height, const char* text)
    {
        Create({.name = kLabelClass}, 0, text, WS_CHILD | WS_VISIBLE | (style.enabled ? 0 : WS_DISABLED), x, y,
               width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    }

    LabelStyle style;

private:
    void PaintContent(HDC dc) override { Paint(*this, dc); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnButtonUp(LPARAM lParam);
    void TellClicked();
    // Read as static text, or as a link that its default action opens.
    HWND AccessibleWindow() const override { return Handle(); }
    AccessibleFacts DescribeAccessible(int) const override
    {
        AccessibleFacts facts;
        facts.name = CaptionName(TextOf(Handle()));
        facts.keyboardShortcut = CaptionAccessKey(TextOf(Handle()));
        facts.role = style.link ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT;
        facts.state = style.link ? STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_READONLY;
        if (!IsWindowEnabled(Handle()))
            facts.state |= STATE_SYSTEM_UNAVAILABLE;
        if (style.link)
            facts.defaultAction = L"ジャンプ";
        GetWindowRect(Handle(), &facts.screen);
        return facts;
    }
    bool DoAccessibleDefault(int) override
    {
        if (!style.link)
            return false;
        PostMessageA(Handle(), kOpenLink, 0, 0);
        return true;
    }
    static constexpr UINT kOpenLink = WM_APP + 1;

    bool pressed_ = false;
    AccessibleAnswer accessible_{*this};
};


void LabelWindow::OnButtonUp(LPARAM lParam)
{
    if (!pressed_)
        return;
    pressed_ = false;
    ReleaseCapture();
    RECT r;
    GetClientRect(Handle(), &r);
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (PtInRect(&r, p))
        TellClicked();
}

void LabelWindow::TellClicked()
{
    SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), STN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle()));
}

LRESULT LabelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const auto painted = PaintMessage(message, wParam))
        return *painted;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETFONT:
        style.font = reinterpret_cast<HFONT>(wParam);
        if (style.autoSize)
            FitToText(Handle(), style);
        if (LOWORD(lParam))
            InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(style.font);
    case WM_SETTEXT: {
        const LRESULT r = Default(message, wParam, lParam);
        if (style.autoSize)
            FitToText(Handle(), style);
        InvalidateRect(Handle(), nullptr, FALSE);
        return r;
    }
    case WM_ENABLE:
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (style.link) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (style.link) {
            pressed_ = true;
            SetCapture(Handle());
        }
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(lParam);
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case kOpenLink:
        TellClicked();
        return 0;
    case WM_UPDATEUISTATE:
        Default(message, wParam, lParam);
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = accessible_.Answer(wParam, lParam))
            return object;
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace

HWND CreateLabel(HWND parent, int id, int x, int y, int width, int height, const char* text,
                 const LabelStyle& style)
{
    auto label = std::make_unique<LabelWindow>(style);
    label->Open(parent, id, x, y, width, height, text);
    const HWND hwnd = Window::OwnedByWindow(std::move(label));
    if (hwnd && style.autoSize)
        FitToText(hwnd, style);
    return hwnd;
}

void PaintLabel(HWND label, HDC dc)
{
    if (const auto* state = dynamic_cast<const LabelWindow*>(Window::FromHandle(label)))
        Paint(*state, dc);
}

namespace {

void Paint(const LabelWindow& labelWindow, HDC dc)
{
    const HWND label = labelWindow.Handle();
    const LabelWindow* state = &labelWindow;
    PaintParentBackground(label, dc);
    RECT r;
    GetClientRect(label, &r);
    const std::string text = TextOf(label);
    SelectGuard font(dc, state->style.font ? state->style.font : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    // The access key is underlined once the keyboard is in use.
    const bool hideKeys = (SendMessageA(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
    const UINT format = TextFormat(state->style) | (hideKeys ? DT_HIDEPREFIX : 0);
    // A substitute font taller than the label would push a link's underline
    // below its last row: the text moves up by what it overhangs.
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(dc, &metrics) && metrics.tmUnderlined && !state->style.vertCenter &&
        metrics.tmHeight > r.bottom - r.top)
        OffsetRect(&r, 0, (r.bottom - r.top) - metrics.tmHeight);
    if (HighContrastOn()) {
        // Flat, in the system's colours: links in the hot-light colour.
        SetTextColor(dc, GetSysColor(!IsWindowEnabled(label) ? COLOR_GRAYTEXT
                                     : state->style.link     ? COLOR_HOTLIGHT
                                                             : COLOR_BTNTEXT));
        DrawTextA(dc, text.c_str(), -1, &r, format);
    } else if (IsWindowEnabled(label)) {
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

}  // namespace
