// The gradient button's life and its properties: creation, the caption and
// image parts, the setters that store a value and paint again.
#include "controls/PlButton.h"

#include "platform/Dpi.h"
#include "platform/WindowHelpers.h"
#include "platform/Scaling.h"

namespace {

WindowClass ButtonClass() { return {.name = kPlButtonClass}; }

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


void TplButton::WindowDestroyed() noexcept
{
    regionSet_ = false;  // the region went with the window
    pressed_ = false;
    mouseDown_ = false;
    pointerInside_ = false;
    trackingLeave_ = false;
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
