// The push button of every dialog: a child window with a vertical two-colour
// gradient face, up to two caption lines, an optional bitmap or icon, five
// frame styles, a pressed look and a focus mark. A click hands its modal
// result to the parent form (kFormSetModalResult) and then sends the parent
// WM_COMMAND with BN_CLICKED, as a standard button would.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/ButtonLayout.h"
#include "platform/Accessible.h"
#include "platform/Raii.h"
#include "platform/Window.h"

inline constexpr const char* kPlButtonClass = "TplButton";

// Colours with this top byte name a system colour (GetSysColor index in the
// low byte) and are resolved when painting.
inline constexpr ButtonColour kSystemColourFlag = 0x80000000;
inline constexpr ButtonColour kClBtnFace = kSystemColourFlag | COLOR_BTNFACE;
inline constexpr ButtonColour kClWindowText = kSystemColourFlag | COLOR_WINDOWTEXT;

// Keyboard and mouse-button state handed to the mouse enter and leave events.
enum TplShiftState : unsigned {
    kShiftShift = 1,
    kShiftAlt = 2,
    kShiftCtrl = 4,
    kShiftLeft = 8,
    kShiftRight = 16,
    kShiftMiddle = 32,
};

class TplButton;

// One caption line of a button.
class TplBtnCaption {
public:
    explicit TplBtnCaption(TplButton& owner) noexcept : owner_(owner) {}
    TplBtnCaption(const TplBtnCaption&) = delete;
    TplBtnCaption& operator=(const TplBtnCaption&) = delete;

    const std::string& Caption() const noexcept { return caption_; }
    // A different text paints the button at once.
    void SetCaption(const std::string& caption);
    TplBtnAlignment Alignment() const noexcept { return alignment_; }
    void SetAlignment(TplBtnAlignment alignment);
    // Margins: Left for taLeft and taEven, Right for taRight and taEven.
    int Left() const noexcept { return left_; }
    void SetLeft(int left);
    int Right() const noexcept { return right_; }
    void SetRight(int right);
    // Takes caption, alignment and margins, and repaints the owner.
    void Assign(const TplBtnCaption& source);

private:
    friend class TplButton;
    TplButton& owner_;
    std::string caption_;
    TplBtnAlignment alignment_ = TplBtnAlignment::taCenter;
    int left_ = 0;
    int right_ = 0;
};

// The optional picture of a button: a bitmap or an icon, owned.
class TplBtnImage {
public:
    explicit TplBtnImage(TplButton& owner) noexcept : owner_(owner) {}
    TplBtnImage(const TplBtnImage&) = delete;
    TplBtnImage& operator=(const TplBtnImage&) = delete;

    // Each takes ownership; a null handle empties the picture.
    void SetBitmap(HBITMAP bitmap);
    void SetIcon(HICON icon);
    void ClearPicture();
    bool Empty() const noexcept { return !bitmap_ && !icon_; }
    HBITMAP Bitmap() const noexcept { return bitmap_.get(); }
    HICON Icon() const noexcept { return icon_.get(); }
    int PictureWidth() const noexcept { return width_; }
    int PictureHeight() const noexcept { return height_; }

    int Left() const noexcept { return left_; }
    void SetLeft(int left);  // fixes the offset: HorzCenter becomes false
    int Top() const noexcept { return top_; }
    void SetTop(int top);  // fixes the offset: VertCenter becomes false
    bool TransParent() const noexcept { return transParent_; }
    void SetTransParent(bool transParent);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    bool VertCenter() const noexcept { return vertCenter_; }
    void SetVertCenter(bool centre);
    bool HorzCenter() const noexcept { return horzCenter_; }
    void SetHorzCenter(bool centre);
    // Copies the picture and every setting, and repaints the owner.
    void Assign(const TplBtnImage& source);

private:
    friend class TplButton;
    void TakePicture(UniqueBitmap bitmap, UniqueIcon icon);

    TplButton& owner_;
    UniqueBitmap bitmap_;
    UniqueIcon icon_;
    int width_ = 0;
    int height_ = 0;
    int left_ = 10;
    int top_ = 0;
    bool transParent_ = false;
    bool visible_ = true;
    bool vertCenter_ = true;
    bool horzCenter_ = false;
};

class TplButton : public Window, private AccessibleSource {
public:
    using MouseEvent = std::function<void(TplButton& sender, unsigned shift, int x, int y)>;

    TplButton();
    ~TplButton() override;

    // The window, a child of `parent` with control identifier `id`. The first
    // parent also names the first caption line after the component.
    HWND Create(HWND parent, int id, int x, int y, int width, int height, const char* componentName);

    TplButtonStyle ButtonStyle() const noexcept { return buttonStyle_; }
    void SetButtonStyle(TplButtonStyle style);
    bool Cancel() const noexcept { return cancel_; }
    void SetCancel(bool cancel) noexcept { cancel_ = cancel; }
    TplBtnCaption& CaptionA() noexcept { return *captionA_; }
    TplBtnCaption& CaptionB() noexcept { return *captionB_; }
    const TplBtnCaption& CaptionA() const noexcept { return *captionA_; }
    const TplBtnCaption& CaptionB() const noexcept { return *captionB_; }
    void SetCaptionA(const TplBtnCaption& source) { captionA_->Assign(source); }
    void SetCaptionB(const TplBtnCaption& source) { captionB_->Assign(source); }
    int CaptionLineSpace() const noexcept { return captionLineSpace_; }
    void SetCaptionLineSpace(int space);
    int CaptionTop() const noexcept { return captionTop_; }
    void SetCaptionTop(int top);  // a change also ends vertical centring
    bool CaptionVertCenter() const noexcept { return captionVertCenter_; }
    void SetCaptionVertCenter(bool centre);
    TplBtnFrameType FlatFrameType() const noexcept { return flatFrameType_; }
    void SetFlatFrameType(TplBtnFrameType type);
    bool Gradation() const noexcept { return gradation_; }
    void SetGradation(bool gradation);  // true also ends ParentColor
    ButtonColour GradBeginColor() const noexcept { return gradBeginColor_; }
    void SetGradBeginColor(ButtonColour colour);
    ButtonColour GradEndColor() const noexcept { return gradEndColor_; }
    void SetGradEndColor(ButtonColour colour);
    bool HasFocus() const noexcept { return hasFocus_; }
    void SetHasFocus(bool hasFocus);
    int ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    TplBtnImage& Image() noexcept { return *image_; }
    const TplBtnImage& Image() const noexcept { return *image_; }
    void SetImage(const TplBtnImage& source) { image_->Assign(source); }
    int CornerSize() const noexcept { return cornerSize_; }

    // The panel's own properties that the button uses.
    ButtonColour Color() const noexcept { return color_; }
    void SetColor(ButtonColour colour);
    bool ParentColor() const noexcept { return parentColor_; }
    void SetParentColor(bool parentColor);
    ButtonColour FontColor() const noexcept { return fontColor_; }
    void SetFontColor(ButtonColour colour);
    bool TabStop() const noexcept { return tabStop_; }
    void SetTabStop(bool tabStop);
    bool Enabled() const noexcept;
    void Enable(bool enabled);
    // The font the parent gave with WM_SETFONT; not owned.
    HFONT Font() const noexcept { return font_; }

    bool Pressed() const noexcept { return pressed_; }

    MouseEvent OnMouseEnter;
    MouseEvent OnMouseLeave;

    // The full click: not pressed any more, modal result to the form, then
    // BN_CLICKED, then a repaint.
    void Click();
    // Synchronous repaint, when there is a window to paint.
    void Repaint();
    // WM_PAINT and WM_PRINTCLIENT both paint through here.
    void PaintContent(HDC dc) override;

protected:
    virtual void MouseEnter(unsigned shift, int x, int y);
    virtual void MouseLeave(unsigned shift, int x, int y);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowDestroyed() noexcept override;
    // Screen readers read it as a push button.
    HWND AccessibleWindow() const override { return Handle(); }
    AccessibleFacts DescribeAccessible(int child) const override;
    bool DoAccessibleDefault(int child) override;
    bool IsDefaultButton() const;
    void OnSize();
    void OnSetFont(HFONT font, bool redraw);
    LRESULT OnGetDlgCode(const MSG* message) const;
    bool OnKeyDown(WPARAM key);
    void OnKeyUp(WPARAM key);
    LRESULT OnDialogKey(WPARAM key);
    void OnLeftButtonDown();
    void OnLeftButtonUp(int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseLeaveMessage();
    void OnCaptureChanged();
    void OnFocusChange();
    void FramePointer(int x, int y, bool inside);
    void FrameClick();
    void SendClickCommand();

    // Painting steps.
    void PaintFace(HDC dc);
    void DrawGradient(HDC dc);
    void DrawImage(HDC dc);
    void DrawCaption(HDC dc, const TplBtnCaption& caption, int y);
    void DrawFrame(HDC dc);
    void DrawFocus(HDC dc);

    void ApplyRegion();
    bool InsideClient(int x, int y) const;
    int ClientWidth() const;
    int ClientHeight() const;
    int PressedOffset() const noexcept { return hasFocus_ && pressed_ ? Px(1) : 0; }
    // Its lengths (caption top and spacing, margins, corners, offsets) are
    // kept at 96 DPI and drawn at the window's own DPI.
    int Dpi() const noexcept { return dpi_; }
    int Px(int length) const noexcept;
    bool Focused() const noexcept;
    void SetPressed(bool pressed);

    // Shared with the steps that call out to the parent or to event handlers,
    // which may destroy this object: they look at it before going on.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    TplButtonStyle buttonStyle_ = TplButtonStyle::bsNormal;
    bool cancel_ = false;
    std::unique_ptr<TplBtnCaption> captionA_;
    std::unique_ptr<TplBtnCaption> captionB_;
    int captionLineSpace_ = 4;
    int captionTop_ = 0;
    bool captionVertCenter_ = true;
    TplBtnFrameType flatFrameType_ = TplBtnFrameType::bffFlat;
    bool gradation_ = true;
    ButtonColour gradBeginColor_ = 0x00FFFFFF;
    ButtonColour gradEndColor_ = 0x00C0C0C0;
    bool hasFocus_ = true;
    int modalResult_ = 0;
    std::unique_ptr<TplBtnImage> image_;
    int cornerSize_ = 10;
    bool regionSet_ = false;
    bool pressed_ = false;
    bool captionNamed_ = false;

    ButtonColour color_ = kClBtnFace;
    bool parentColor_ = false;
    ButtonColour fontColor_ = kClWindowText;
    bool tabStop_ = true;
    bool enabled_ = true;  // before the window exists
    int width_ = 75;
    int height_ = 26;
    HFONT font_ = nullptr;
    int dpi_ = 96;  // of the window, asked for when it is made and when it changes

    bool mouseDown_ = false;        // the left button went down here and has not come up
    bool pointerInside_ = false;    // the last pointer position seen was inside
    bool trackingLeave_ = false;    // TrackMouseEvent asked for WM_MOUSELEAVE
    bool releasingCapture_ = false;
    AccessibleAnswer accessible_{*this};
};
