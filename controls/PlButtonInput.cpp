// The gradient button's input: its messages, the keyboard and the mouse,
// and the click that tells the form.
#include "controls/PlButton.h"

#include <windowsx.h>

#include "controls/FormMessages.h"
#include "platform/Dpi.h"

namespace {

// WM_DPICHANGED_AFTERPARENT, sent from Windows 10 on; the headers show it only
// to programs that require that version.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

unsigned CurrentShiftState()
{
    unsigned shift = 0;
    const auto down = [](int key) { return GetKeyState(key) < 0; };
    if (down(VK_SHIFT))
        shift |= kShiftShift;
    if (down(VK_MENU))
        shift |= kShiftAlt;
    if (down(VK_CONTROL))
        shift |= kShiftCtrl;
    if (down(VK_LBUTTON))
        shift |= kShiftLeft;
    if (down(VK_RBUTTON))
        shift |= kShiftRight;
    if (down(VK_MBUTTON))
        shift |= kShiftMiddle;
    return shift;
}

}  // namespace

LRESULT TplButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const auto painted = PaintMessage(message, wParam))
        return *painted;  // the face covers every pixel
    switch (message) {
    case WM_SIZE:
        Default(message, wParam, lParam);
        OnSize();
        return 0;
    case WM_SETFONT:
        OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case kDpiChangedAfterParent:
        dpi_ = WindowDpi(Handle());
        ApplyRegion();
        Repaint();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
        Repaint();
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (OnKeyDown(wParam))
            return 0;
        break;
    case WM_KEYUP:
        OnKeyUp(wParam);
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeaveMessage();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocusChange();
        return 0;
    case BM_SETSTYLE:
        // The dialog manager's default-button marking; the face has none.
        if (LOWORD(lParam))
            Repaint();
        return 0;
    case BM_CLICK:
        Click();
        return 0;
    case WM_UPDATEUISTATE:
        Default(message, wParam, lParam);
        Repaint();
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = accessible_.Answer(wParam, lParam))
            return object;
        break;
    case kFormDialogKey:
        return OnDialogKey(wParam);
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void TplButton::OnSize()
{
    if (IsRoundStyle(buttonStyle_))
        ApplyRegion();
    Repaint();
}

void TplButton::OnSetFont(HFONT font, bool redraw)
{
    // A form hands out new fonts when its DPI changes: the button's own
    // lengths follow from here.
    dpi_ = WindowDpi(Handle());
    font_ = font;
    if (redraw)
        Repaint();
}

LRESULT TplButton::OnGetDlgCode(const MSG* message) const
{
    LRESULT code = DLGC_BUTTON | (Focused() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    // Enter on the focused button is this button's, not the dialog's default
    // button's.
    if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

bool TplButton::OnKeyDown(WPARAM key)
{
    if (key != VK_RETURN || !Focused() || !Enabled())
        return false;
    SendClickCommand();
    return true;
}

void TplButton::OnKeyUp(WPARAM key)
{
    if (key == VK_RETURN)
        SetPressed(false);
}

LRESULT TplButton::OnDialogKey(WPARAM key)
{
    if (key != VK_RETURN && key != VK_ESCAPE)
        return 0;
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return 0;
    // A disabled button cannot be clicked, not even through Escape.
    if (!hasFocus_ || !Enabled())
        return 0;
    if ((key == VK_RETURN && Focused()) || (key == VK_ESCAPE && cancel_)) {
        Click();
        return TRUE;
    }
    return 0;
}

void TplButton::OnLeftButtonDown()
{
    if (hasFocus_ && !Focused()) {
        // Through the dialog manager first, so that Enter follows the focus;
        // a parent that is no dialog ignores the message.
        SendMessageA(GetParent(Handle()), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Handle()), TRUE);
        if (Handle() && !Focused())
            SetFocus(Handle());
        if (!Handle())
            return;
    }
    mouseDown_ = true;
    SetCapture(Handle());  // the release arrives even outside
    SetPressed(true);
}

void TplButton::OnLeftButtonUp(int x, int y)
{
    const bool wasDown = mouseDown_;
    mouseDown_ = false;
    releasingCapture_ = true;
    if (GetCapture() == Handle())
        ReleaseCapture();
    releasingCapture_ = false;
    if (wasDown && InsideClient(x, y))
        Click();
    else
        SetPressed(false);
}

void TplButton::OnMouseMove(int x, int y)
{
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    // While the button holds the capture, moves outside arrive here too: they
    // are the pointer leaving.
    FramePointer(x, y, InsideClient(x, y));
}

void TplButton::OnMouseLeaveMessage()
{
    trackingLeave_ = false;
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(Handle(), &pt);
    // With the capture held the pointer may still be over the button.
    if (GetCapture() == Handle() && InsideClient(pt.x, pt.y))
        return;
    FramePointer(pt.x, pt.y, false);
}

void TplButton::FramePointer(int x, int y, bool inside)
{
    if (inside == pointerInside_)
        return;
    pointerInside_ = inside;
    if (inside)
        MouseEnter(CurrentShiftState(), x, y);
    else
        MouseLeave(CurrentShiftState(), x, y);
}

void TplButton::OnCaptureChanged()
{
    // Another window took the mouse: the release will not come here.
    if (!releasingCapture_ && mouseDown_) {
        mouseDown_ = false;
        SetPressed(false);
    }
}

void TplButton::OnFocusChange()
{
    if (hasFocus_)
        Repaint();
}

void TplButton::MouseEnter(unsigned shift, int x, int y)
{
    const auto alive = alive_;
    if (OnMouseEnter)
        OnMouseEnter(*this, shift, x, y);
    if (*alive && Handle() && GetCapture() == Handle())
        Repaint();
}

void TplButton::MouseLeave(unsigned shift, int x, int y)
{
    const auto alive = alive_;
    if (OnMouseLeave)
        OnMouseLeave(*this, shift, x, y);
    if (*alive)
        SetPressed(false);
}

void TplButton::Click()
{
    const auto alive = alive_;
    pressed_ = false;
    if (Handle())
        SendMessageA(GetParent(Handle()), kFormSetModalResult, static_cast<WPARAM>(modalResult_), 0);
    if (!*alive)
        return;
    SendClickCommand();
    if (*alive)
        Repaint();
}

void TplButton::SendClickCommand()
{
    if (!Handle())
        return;
    HWND hwnd = Handle();
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
}
