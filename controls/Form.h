// The program's own small form layer: a top-level window whose class falls
// back to the dialog manager (Tab, mnemonics, the default button), controls
// placed at exact client pixels in tab order, and a modal loop.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "controls/Label.h"
#include "platform/Raii.h"
#include "platform/Scaling.h"
#include "platform/Window.h"

class TplButton;

enum class FormFrame {
    Dialog,    // fixed dialog frame, only the close box
    Single,    // fixed single frame, only the close box
    Sizeable,  // sizeable, minimise and maximise boxes
};

enum class FormPosition { ScreenCenter, OwnerFormCenter };

enum FormAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

inline constexpr COLORREF kFormColor = 0x00DDE7EC;

struct FormStyle {
    const char* caption = "";
    int clientWidth = 0;
    int clientHeight = 0;
    FormFrame frame = FormFrame::Dialog;
    COLORREF color = kFormColor;
    FormPosition position = FormPosition::ScreenCenter;
    bool keyPreview = false;   // FormKeyDown sees key-down before the focused control
    bool escapeCloses = false;  // Escape that no control takes closes with mrCancel
};

class Form : public Window {
public:
    explicit Form(const FormStyle& style);
    ~Form() override;

    // Shows the form modally over `owner` (may be null) and returns the modal
    // result. The thread's other windows take no input meanwhile.
    int ShowModal(HWND owner = nullptr);

    int ModalResult() const noexcept { return modalResult_; }
    // A result other than mrNone ends the modal loop after the current message.
    void SetModalResult(int result) noexcept;
    // Ends a modal form with mrCancel unless a result is set already.
    void Close() noexcept;
    bool Showing() const noexcept { return showing_; }

    // Control ids start here; 1 and 2 are the dialog manager's IDOK/IDCANCEL.
    static constexpr int kFirstControlId = 100;

protected:
    // Controls, in tab order of creation. Each gets the form's font.
    HWND AddLabel(int x, int y, int width, int height, const char* text, const LabelStyle& style = {});
    HWND AddEdit(int x, int y, int width, int height, const char* text = "");
    HWND AddCheckBox(int x, int y, int width, int height, const char* text);
    // A drop-down list of these entries; `height` includes the open list.
    HWND AddDropDownList(int x, int y, int width, int height, std::initializer_list<const char*> entries);
    HWND AddPushButton(int x, int y, int width, int height, const char* text, bool isDefault);
    TplButton& AddGradientButton(int x, int y, int width, int height, const char* name);
    // A gradient button as every dialog has it: white to 0x00ACD5D0, the
    // caption at y 6, the given modal result.
    TplButton& AddDialogButton(int x, int y, int width, int height, const char* name, const char* caption,
                               int modalResult);
    HWND AddListView(int x, int y, int width, int height, DWORD style, DWORD exStyle = WS_EX_CLIENTEDGE);
    // A lowered line along the top of the rectangle, as a separator.
    void AddTopBevel(int x, int y, int width, int height);
    // An icon drawn at its rectangle; the form does not own it.
    void AddImage(int x, int y, int width, int height, HICON icon);

    // The dialogs' accent strip: a gradient from bright blue at the left edge
    // to the form colour at x `right`, over the full height.
    void PaintAccentStrip(HDC dc, int right) const;
    void ShowCuesForKeyboard(const MSG& msg);
    // The form's colour, or the system's button face in high contrast.
    HBRUSH BackgroundBrush() const;

    void SetHint(HWND control, const char* text);
    void SetAnchors(HWND control, unsigned anchors);
    void SetMenuBar(HMENU menu);  // the form owns it from now on
    // A font of the form's, its height given at 96 DPI; made anew when the
    // form's DPI changes.
    HFONT MakeFont(const char* face, int height, BYTE charset, bool underline = false);
    HFONT FormFont() const noexcept { return fonts_.front().font.get(); }
    int ControlId(HWND control) const noexcept { return GetDlgCtrlID(control); }

    // Form events. Exceptions that leave them are shown as the program's
    // error message and go no further.
    virtual void FormShow() {}
    virtual void FormClose() {}
    virtual void FormPaint(HDC) {}
    virtual void FormResize() {}
    virtual bool FormKeyDown(WPARAM) { return false; }  // true: the key is consumed
    virtual void Command(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual LRESULT Notify(const NMHDR&) { return 0; }
    // A message for any of the form's windows before the dialog manager sees
    // it: true when the form has handled it (a field that captures keys).
    virtual bool CaptureMessage(MSG&) { return false; }
    // Any other message; set `handled` to keep it from the dialog manager.
    virtual LRESULT Message(UINT, WPARAM, LPARAM, bool& /*handled*/) { return 0; }
    // The form has been laid out again for another DPI.
    virtual void FormDpiChanged() {}
    // Room for texts that the user's font makes wider than the layout gave
    // them; run from the layout as designed, before the form first shows and
    // again at every DPI. Lengths are at 96 DPI.
    virtual void FormFitText() {}
    int TextNeed(HWND control) const;
    // Grow a control towards its text's width: the remaining shortfall.
    int GrowLeftToText(HWND control, int floor);
    int GrowRightToText(HWND control, int ceiling);
    // A column opened at x `at`, the form growing with it.
    void Widen(int at, int dx);
    void MoveEdges(HWND control, int dLeft, int dRight);
    int ClientWidth96() const noexcept { return createdClient_.cx; }

public:
    // Layouts are given at 96 DPI: a length at the form's own DPI.
    int Dpi() const noexcept { return dpi_; }
    int Px(int length) const noexcept { return Scale(length, dpi_); }

    // The whole client area as the form paints it (background, events, bevels
    // and images); labels paint their background through it.
    void PaintContent(HDC dc) override;

private:
    struct Placed {
        HWND control;
        RECT rect;  // in client coordinates at 96 DPI, with room for the texts
        unsigned anchors;
        bool autoSize;  // a label that sizes itself to its text
        RECT design;    // as created
    };
    struct FormFontRecipe {
        std::string face;
        int height;  // at 96 DPI
        BYTE charset;
        bool underline;
        UniqueFont font;
        HFONT Make(int dpi) const;
    };
    struct Graphic {
        RECT rect;
        HICON icon;  // null: a top bevel
        RECT design;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y, int width,
                    int height);
    void OnSize();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    bool OfferDialogKey(WPARAM key);
    bool PreviewKey(const MSG& msg);
    bool Captured(MSG& msg);
    void ApplyClientSize();
    void Place(HWND control, int x, int y, int width, int height, bool autoSize = false);
    RECT ScaledRect(const RECT& r) const;
    void OnDpiChanged(int dpi, const RECT& suggested);
    void PlaceOnScreen(HWND owner);
    void CentreIn(const RECT& area);
    void CentreAgainAfterDpiChange(const RECT& suggested);
    bool FitText();  // true when a control or the client's size changed
    void PlaceControls();
    Placed* PlacedOf(HWND control);

    FormStyle style_;
    HWND tooltip_ = nullptr;
    UniqueBrush background_;
    UniqueMenu menu_;
    std::vector<FormFontRecipe> fonts_;  // the form's own font first
    std::vector<std::unique_ptr<TplButton>> buttons_;
    std::vector<Placed> placed_;
    std::vector<Graphic> graphics_;
    std::vector<std::string> hints_;
    SIZE createdClient_{};  // at 96 DPI, with room for the texts
    int fittedDpi_ = 0;
    int nextId_ = kFirstControlId;
    int dpi_ = 96;
    int modalResult_ = mrNone;
    bool showing_ = false;
    HWND placedOver_ = nullptr;      // the owner it was centred over, if any
    bool centredByProgram_ = false;  // until the user moves it
};
