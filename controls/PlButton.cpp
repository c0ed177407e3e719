#include "controls/PlButton.h"

#include <windowsx.h>

#include <tuple>
#include <vector>

#include "controls/FormMessages.h"
#include "platform/Dpi.h"
#include "platform/HighContrast.h"
#include "platform/Scaling.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr COLORREF kRoundOutline = 0x00757575;
// WM_DPICHANGED_AFTERPARENT, sent from Windows 10 on; the headers show it only
// to programs that require that version.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
constexpr COLORREF kPressedInnerRing = 0x00808080;
constexpr COLORREF kRoundFocus = 0x00202020;

COLORREF ResolveColour(ButtonColour colour)
{
    if ((colour & 0xFF000000) == kSystemColourFlag)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0x00FFFFFF;
}

WindowClass ButtonClass() { return {.name = kPlButtonClass}; }

// The caption's characters, a double-byte character (lead and trail byte)
// counting as one.
std::vector<std::string> SplitCharacters(const std::string& text)
{
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() && text[i + 1] != '\0';
        const std::size_t length = pair ? 2 : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

SIZE TextExtent(HDC dc, const std::string& text)
{
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TextAt(HDC dc, int x, int y, const std::string& text)
{
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

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

UINT TextAlignOf(TextAnchor anchor)
{
    switch (anchor) {
    case TextAnchor::Left:
        return TA_LEFT | TA_TOP;
    case TextAnchor::Right:
        return TA_RIGHT | TA_TOP;
    case TextAnchor::Center:
        break;
    }
    return TA_CENTER | TA_TOP;
}


// The shape of most properties: a new value is stored and the button painted
// again; the same value changes nothing. The setters that do otherwise say so.
template <class T>
void SetAndRepaint(TplButton& button, T& field, T value)
{
    if (field == value)
        return;
    field = value;
    button.Repaint();
}

}  // namespace

// ---- TplBtnCaption ---------------------------------------------------------

void TplBtnCaption::SetCaption(const std::string& caption) { SetAndRepaint(owner_, caption_, caption); }

void TplBtnCaption::SetAlignment(TplBtnAlignment alignment) { SetAndRepaint(owner_, alignment_, alignment); }

void TplBtnCaption::SetLeft(int left) { SetAndRepaint(owner_, left_, left); }

void TplBtnCaption::SetRight(int right) { SetAndRepaint(owner_, right_, right); }

void TplBtnCaption::Assign(const TplBtnCaption& source)
{
    if (&source != this) {
        caption_ = source.caption_;
        alignment_ = source.alignment_;
        left_ = source.left_;
        right_ = source.right_;
    }
    owner_.Repaint();
}

// ---- TplBtnImage -----------------------------------------------------------

void TplBtnImage::TakePicture(UniqueBitmap bitmap, UniqueIcon icon)
{
    bitmap_ = std::move(bitmap);
    icon_ = std::move(icon);
    width_ = height_ = 0;
    if (bitmap_) {
        BITMAP bm{};
        if (GetObjectA(bitmap_.get(), sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        }
    } else if (icon_) {
        std::tie(width_, height_) = IconPictureSize(icon_.get());
    }
    owner_.Repaint();
}

void TplBtnImage::SetBitmap(HBITMAP bitmap) { TakePicture(UniqueBitmap(bitmap), UniqueIcon()); }

void TplBtnImage::SetIcon(HICON icon) { TakePicture(UniqueBitmap(), UniqueIcon(icon)); }

void TplBtnImage::ClearPicture() { TakePicture(UniqueBitmap(), UniqueIcon()); }

void TplBtnImage::SetLeft(int left)
{
    left_ = left;
    horzCenter_ = false;
    owner_.Repaint();
}

void TplBtnImage::SetTop(int top)
{
    top_ = top;
    vertCenter_ = false;
    owner_.Repaint();
}

void TplBtnImage::SetTransParent(bool transParent) { SetAndRepaint(owner_, transParent_, transParent); }

void TplBtnImage::SetVisible(bool visible) { SetAndRepaint(owner_, visible_, visible); }

void TplBtnImage::SetVertCenter(bool centre) { SetAndRepaint(owner_, vertCenter_, centre); }

void TplBtnImage::SetHorzCenter(bool centre) { SetAndRepaint(owner_, horzCenter_, centre); }

void TplBtnImage::Assign(const TplBtnImage& source)
{
    if (&source != this) {
        UniqueBitmap bitmap;
        UniqueIcon icon;
        if (source.bitmap_)
            bitmap.reset(static_cast<HBITMAP>(CopyImage(source.bitmap_.get(), IMAGE_BITMAP, 0, 0, 0)));
        else if (source.icon_)
            icon.reset(CopyIcon(source.icon_.get()));
        left_ = source.left_;
        top_ = source.top_;
        transParent_ = source.transParent_;
        visible_ = source.visible_;
        vertCenter_ = source.vertCenter_;
        horzCenter_ = source.horzCenter_;
        TakePicture(std::move(bitmap), std::move(icon));  // repaints
        return;
    }
    owner_.Repaint();
}

// ---- TplButton: life and window --------------------------------------------

TplButton::TplButton()
    : captionA_(std::make_unique<TplBtnCaption>(*this)),
      captionB_(std::make_unique<TplBtnCaption>(*this)),
      image_(std::make_unique<TplBtnImage>(*this))
{
}

TplButton::~TplButton()
{
    *alive_ = false;
    // The window takes its region and the mouse capture along.
    DestroyHandle();
}

HWND TplButton::Create(HWND parent, int id, int x, int y, int width, int height, const char* componentName)
{
    if (Handle())
        return Handle();
    width_ = width;
    height_ = height;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (tabStop_ ? WS_TABSTOP : 0) |
                        (enabled_ ? 0 : WS_DISABLED);
    Window::Create(ButtonClass(), 0, "", style, x, y, width, height, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (!Handle())
        return nullptr;
    dpi_ = WindowDpi(Handle());
    if (!captionNamed_) {
        // The first parent names the button once; a caption set afterwards
        // replaces the name.
        captionNamed_ = true;
        captionA_->caption_ = componentName ? componentName : "";
    }
    // Until the form hands out its font, the button writes in the form's.
    if (const auto parentFont = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)))
        font_ = parentFont;
    ApplyRegion();
    Repaint();
    return Handle();
}

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

AccessibleFacts TplButton::DescribeAccessible(int) const
{
    AccessibleFacts facts;
    std::string caption = captionA_->Caption();
    if (!captionB_->Caption().empty())
        caption += (caption.empty() ? "" : " ") + captionB_->Caption();
    facts.name = CaptionName(caption);
    facts.keyboardShortcut = CaptionAccessKey(caption);
    facts.defaultAction = L"押す";
    facts.role = ROLE_SYSTEM_PUSHBUTTON;
    facts.state = STATE_SYSTEM_FOCUSABLE;
    if (Focused())
        facts.state |= STATE_SYSTEM_FOCUSED;
    if (IsDefaultButton())
        facts.state |= STATE_SYSTEM_DEFAULT;
    if (!Enabled())
        facts.state |= STATE_SYSTEM_UNAVAILABLE;
    if (pressed_)
        facts.state |= STATE_SYSTEM_PRESSED;
    if (!IsWindowVisible(Handle()))
        facts.state |= STATE_SYSTEM_INVISIBLE;
    GetWindowRect(Handle(), &facts.screen);
    return facts;
}

bool TplButton::IsDefaultButton() const
{
    // The focused button takes Enter; otherwise the form's default one does.
    if (Focused())
        return true;
    const LRESULT id = SendMessageA(GetParent(Handle()), DM_GETDEFID, 0, 0);
    return HIWORD(id) == DC_HASDEFID && LOWORD(id) == GetDlgCtrlID(Handle());
}

bool TplButton::DoAccessibleDefault(int)
{
    if (!Enabled())
        return false;
    // Posted: the click may open a dialog, and the screen reader must not
    // wait for it to close.
    return PostMessageA(Handle(), BM_CLICK, 0, 0) != 0;
}

void TplButton::WindowDestroyed() noexcept
{
    regionSet_ = false;  // the region went with the window
    pressed_ = false;
    mouseDown_ = false;
    pointerInside_ = false;
    trackingLeave_ = false;
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

void TplButton::Repaint()
{
    if (!Handle())
        return;
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
}

void TplButton::SetPressed(bool pressed)
{
    pressed_ = pressed;
    Repaint();
}

void TplButton::ApplyRegion()
{
    if (!Handle())
        return;
    if (IsRoundStyle(buttonStyle_)) {
        UniqueRegion region(
            CreateRoundRectRgn(0, 0, ClientWidth() + 1, ClientHeight() + 1, Px(cornerSize_), Px(cornerSize_)));
        // The window owns the region once it is set.
        if (region && SetWindowRgn(Handle(), region.get(), TRUE)) {
            region.release();
            regionSet_ = true;
        }
    } else if (regionSet_) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        regionSet_ = false;
    }
}

bool TplButton::InsideClient(int x, int y) const
{
    return x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight();
}

int TplButton::ClientWidth() const
{
    if (!Handle())
        return width_;
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}

int TplButton::ClientHeight() const
{
    if (!Handle())
        return height_;
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}


int TplButton::Px(int length) const noexcept { return Scale(length, Dpi()); }

bool TplButton::Focused() const noexcept { return Handle() && GetFocus() == Handle(); }

bool TplButton::Enabled() const noexcept { return Handle() ? IsWindowEnabled(Handle()) != FALSE : enabled_; }

// ---- TplButton: properties ---------------------------------------------------

void TplButton::SetCaptionLineSpace(int space) { SetAndRepaint(*this, captionLineSpace_, space); }
void TplButton::SetFlatFrameType(TplBtnFrameType type) { SetAndRepaint(*this, flatFrameType_, type); }
void TplButton::SetGradBeginColor(ButtonColour colour) { SetAndRepaint(*this, gradBeginColor_, colour); }
void TplButton::SetGradEndColor(ButtonColour colour) { SetAndRepaint(*this, gradEndColor_, colour); }
void TplButton::SetHasFocus(bool hasFocus) { SetAndRepaint(*this, hasFocus_, hasFocus); }

// The exceptions.

void TplButton::SetButtonStyle(TplButtonStyle style)
{
    // Repaints even when unchanged; the region follows a change only.
    if (style != buttonStyle_) {
        buttonStyle_ = style;
        ApplyRegion();
    }
    Repaint();
}

void TplButton::SetCaptionTop(int top)
{
    if (top == captionTop_)
        return;
    captionTop_ = top;
    captionVertCenter_ = false;  // a fixed top ends centring
    Repaint();
}

void TplButton::SetCaptionVertCenter(bool centre)
{
    // Only turning centring on repaints.
    if (centre == captionVertCenter_)
        return;
    captionVertCenter_ = centre;
    if (centre)
        Repaint();
}

void TplButton::SetGradation(bool gradation)
{
    if (gradation == gradation_)
        return;
    gradation_ = gradation;
    if (gradation)
        parentColor_ = false;  // a gradient face is the button's own colour
    Repaint();
}

// The panel's colours repaint even when unchanged.
void TplButton::SetColor(ButtonColour colour)
{
    color_ = colour;
    Repaint();
}

void TplButton::SetParentColor(bool parentColor)
{
    parentColor_ = parentColor;
    Repaint();
}

void TplButton::SetFontColor(ButtonColour colour)
{
    fontColor_ = colour;
    Repaint();
}

void TplButton::SetTabStop(bool tabStop)
{
    tabStop_ = tabStop;
    if (!Handle())
        return;
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
}

void TplButton::Enable(bool enabled)
{
    enabled_ = enabled;
    if (Handle())
        EnableWindow(Handle(), enabled);  // WM_ENABLE repaints
}

// ---- TplButton: painting -----------------------------------------------------

void TplButton::PaintContent(HDC dc)
{
    if (!Handle())
        return;
    if (parentColor_) {
        PaintFace(dc);
        return;
    }
    // Painted whole off screen and copied in one transfer, so no step of the
    // face flickers through.
    const int w = ClientWidth();
    const int h = ClientHeight();
    if (w <= 0 || h <= 0)
        return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap;
    {
        WindowDc screen(nullptr);
        bitmap.reset(CreateCompatibleBitmap(screen.get(), w, h));
    }
    if (!memory || !bitmap) {
        PaintFace(dc);
        return;
    }
    SelectGuard selected(memory.get(), bitmap.get());
    PaintFace(memory.get());
    BitBlt(dc, 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
}

void TplButton::PaintFace(HDC dc)
{
    const RECT face{0, 0, ClientWidth(), ClientHeight()};
    if (HighContrastOn()) {
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));  // flat, the theme's own face
    } else if (gradation_) {
        DrawGradient(dc);
    } else {
        UniqueBrush brush(CreateSolidBrush(ResolveColour(color_)));
        FillRect(dc, &face, brush.get());
    }
    DrawImage(dc);

    HFONT font = font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard fontGuard(dc, font);
    CaptionLines lines;
    lines.height = face.bottom;
    lines.heightA = TextExtent(dc, captionA_->Caption()).cy;
    lines.heightB = TextExtent(dc, captionB_->Caption()).cy;
    lines.emptyA = captionA_->Caption().empty();
    lines.emptyB = captionB_->Caption().empty();
    lines.lineSpace = Px(captionLineSpace_);
    lines.vertCenter = captionVertCenter_;
    lines.captionTop = Px(captionTop_);
    const CaptionTops tops = PlaceCaptionLines(lines);
    // Centred lines are remembered as the fixed top (the field, not the
    // setter: centring stays on).
    captionTop_ = Unscale(tops.captionTop, Dpi());
    DrawCaption(dc, *captionA_, tops.first);
    DrawCaption(dc, *captionB_, tops.second);

    DrawFrame(dc);
    // Hidden while the form was only used with the mouse.
    const bool cues = (SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
    if (Focused() && hasFocus_ && cues)
        DrawFocus(dc);
}

void TplButton::DrawGradient(HDC dc)
{
    const int w = ClientWidth();
    const int h = ClientHeight();
    const COLORREF begin = GetNearestColor(dc, ResolveColour(gradBeginColor_));
    const COLORREF end = GetNearestColor(dc, ResolveColour(gradEndColor_));
    const std::vector<ButtonColour> rows = GradientRows(begin, end, h);
    SelectGuard pen(dc, GetStockObject(DC_PEN));
    const COLORREF oldColour = GetDCPenColor(dc);
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        SetDCPenColor(dc, rows[static_cast<std::size_t>(y)]);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, w, y);
    }
    SetDCPenColor(dc, oldColour);
}

void TplButton::DrawImage(HDC dc)
{
    TplBtnImage& image = *image_;
    if (!image.visible_ || image.Empty())
        return;
    const int p = PressedOffset();
    // The stored offsets follow the size while centring stays on.
    // The offsets are kept at 96 DPI; the picture itself is drawn at its own
    // size.
    const int left = image.horzCenter_ ? (ClientWidth() - image.width_) / 2 : Px(image.left_);
    const int top = image.vertCenter_ ? (ClientHeight() - image.height_) / 2 : Px(image.top_);
    if (image.vertCenter_)
        image.top_ = Unscale(top, Dpi());
    if (image.horzCenter_)
        image.left_ = Unscale(left, Dpi());
    const bool disabledLook = !Enabled() && hasFocus_;
    const int x = left + p;
    const int y = top + p;
    if (image.bitmap_) {
        if (image.transParent_ && !disabledLook) {
            // The bottom-left pixel names the colour that lets the face through.
            UniqueMemoryDc source(CreateCompatibleDC(dc));
            SelectGuard selected(source.get(), image.bitmap_.get());
            const COLORREF key = GetPixel(source.get(), 0, image.height_ - 1);
            GdiTransparentBlt(dc, x, y, image.width_, image.height_, source.get(), 0, 0, image.width_, image.height_,
                              key);
            return;
        }
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.bitmap_.get()), 0, x, y, image.width_,
                   image.height_, DST_BITMAP | (disabledLook ? DSS_DISABLED : 0));
    } else {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.icon_.get()), 0, x, y, image.width_,
                   image.height_, DST_ICON | (disabledLook ? DSS_DISABLED : 0));
    }
}

void TplButton::DrawCaption(HDC dc, const TplBtnCaption& caption, int y)
{
    const std::vector<std::string> characters = SplitCharacters(caption.Caption());
    const int n = static_cast<int>(characters.size());
    if (n == 0)
        return;
    SetBkMode(dc, TRANSPARENT);
    const CaptionOrigin origin =
        PlaceCaption(caption.Alignment(), n, ClientWidth(), Px(caption.Left()), Px(caption.Right()));
    const UINT oldAlign = SetTextAlign(dc, TextAlignOf(origin.anchor));
    const int p = PressedOffset();
    const int x = origin.x + p;
    y += p;

    const bool even = origin.alignment == TplBtnAlignment::taEven;
    EvenSpacing spacing;
    std::vector<int> widths;
    if (even) {
        spacing = SpreadEvenly(origin.available, TextExtent(dc, caption.Caption()).cx, n);
        widths.reserve(characters.size());
        for (const std::string& c : characters)
            widths.push_back(TextExtent(dc, c).cx);
    }
    // Each pass walks the characters with its own copy of the rest.
    const auto drawAt = [&](int left, int top) {
        if (!even) {
            TextAt(dc, left, top, caption.Caption());
            return;
        }
        const std::vector<int> xs = EvenCharacterPositions(left, widths, spacing);
        for (std::size_t k = 0; k < characters.size(); ++k)
            TextAt(dc, xs[k], top, characters[k]);
    };

    const COLORREF oldColour = GetTextColor(dc);
    COLORREF colour = ResolveColour(fontColor_);
    if (HighContrastOn()) {
        colour = GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    } else if (!Enabled() && hasFocus_) {
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        drawAt(x + 1, y + 1);
        colour = GetSysColor(COLOR_BTNSHADOW);
    }
    SetTextColor(dc, colour);
    drawAt(x, y);
    SetTextColor(dc, oldColour);
    SetTextAlign(dc, oldAlign);
}

void TplButton::DrawFrame(HDC dc)
{
    RECT face{0, 0, ClientWidth(), ClientHeight()};
    switch (buttonStyle_) {
    case TplButtonStyle::bsNormal:
        if (!pressed_) {
            DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
        } else {
            FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
            RECT inner = face;
            InflateRect(&inner, -1, -1);
            UniqueBrush ring(CreateSolidBrush(kPressedInnerRing));
            FrameRect(dc, &inner, ring.get());
        }
        break;
    case TplButtonStyle::bsFlat:
        switch (flatFrameType_) {
        case TplBtnFrameType::bffFlat:
            DrawEdge(dc, &face, EDGE_BUMP, BF_RECT | BF_FLAT);
            break;
        case TplBtnFrameType::bffEtched:
            DrawEdge(dc, &face, EDGE_ETCHED, BF_RECT);
            break;
        case TplBtnFrameType::bffBump:
            DrawEdge(dc, &face, EDGE_BUMP, BF_RECT);
            break;
        }
        break;
    case TplButtonStyle::bsRoundRect: {
        UniquePen pen(CreatePen(PS_SOLID, 1, ContrastColour(kRoundOutline, COLOR_BTNTEXT)));
        SelectGuard penGuard(dc, pen.get());
        SelectGuard brushGuard(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, 0, 0, face.right, face.bottom, Px(cornerSize_), Px(cornerSize_));
        break;
    }
    case TplButtonStyle::bsFlatNoFrame:
    case TplButtonStyle::bsRoundRectNoFrame:
        break;
    }
}

void TplButton::DrawFocus(HDC dc)
{
    RECT face{0, 0, ClientWidth(), ClientHeight()};
    if (IsRoundStyle(buttonStyle_)) {
        const LOGBRUSH brush{BS_SOLID, kRoundFocus, 0};
        UniquePen pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
        SelectGuard penGuard(dc, pen.get());
        SelectGuard brushGuard(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, Px(2), Px(2), face.right - Px(2), face.bottom - Px(2), Px(cornerSize_ - 2), Px(cornerSize_ - 2));
        return;
    }
    InflateRect(&face, -Px(3), -Px(3));
    if (buttonStyle_ == TplButtonStyle::bsFlat) {
        if (flatFrameType_ == TplBtnFrameType::bffBump) {
            ++face.right;
            ++face.bottom;
        } else if (flatFrameType_ == TplBtnFrameType::bffEtched) {
            --face.right;
            --face.bottom;
        }
    }
    const COLORREF oldColour = SetTextColor(dc, 0x00FFFFFF);
    DrawFocusRect(dc, &face);
    SetTextColor(dc, oldColour);
}
