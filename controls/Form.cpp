#include "controls/Form.h"

#include <commctrl.h>

#include "controls/FormMessages.h"
#include "controls/PlButton.h"
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/HighContrast.h"
#include "platform/Scaling.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr const char* kFormClass = "VlcrForm";
constexpr COLORREF kAccentStripStart = 0x00FF7030;
constexpr COLORREF kDialogButtonGradEnd = 0x00ACD5D0;

// The dialog manager's extra bytes: unhandled messages go to DefDlgProcA,
// which brings Tab, mnemonics, the default button and focus memory.
WindowClass FormWindowClass()
{
    return {.name = kFormClass,
            .icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)),
            .windowExtra = DLGWINDOWEXTRA};
}

DWORD FrameStyle(FormFrame frame)
{
    switch (frame) {
    case FormFrame::Dialog:
        return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    case FormFrame::Single:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case FormFrame::Sizeable:
        return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    }
    return WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

DWORD FrameExStyle(FormFrame frame)
{
    return frame == FormFrame::Dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
}

}  // namespace

Form::Form(const FormStyle& style) : Window(DefDlgProcA), style_(style)
{
    background_.reset(CreateSolidBrush(style_.color));
    createdClient_ = {style_.clientWidth, style_.clientHeight};
    Create(FormWindowClass(), FrameExStyle(style_.frame), style_.caption, FrameStyle(style_.frame), CW_USEDEFAULT,
           CW_USEDEFAULT, 100, 100, nullptr, nullptr);
    dpi_ = WindowDpi(Handle());
    fonts_.push_back({"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, false, UniqueFont()});
    fonts_.back().font.reset(fonts_.back().Make(dpi_));
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    ApplyClientSize();
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
}

// The children and the owned tooltip go with the window.
Form::~Form() { DestroyHandle(); }

HWND Form::AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y, int width,
                      int height)
{
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, Px(x), Px(y), Px(width),
                                   Px(height), Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    Place(control, x, y, width, height);
    return control;
}

HWND Form::AddLabel(int x, int y, int width, int height, const char* text, const LabelStyle& style)
{
    LabelStyle s = style;
    if (!s.font)
        s.font = FormFont();
    HWND label = CreateLabel(Handle(), nextId_++, Px(x), Px(y), Px(width), Px(height), text, s);
    Place(label, x, y, width, height, s.autoSize);
    return label;
}

HWND Form::AddEdit(int x, int y, int width, int height, const char* text)
{
    return AddControl("EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, x, y, width, height);
}

HWND Form::AddCheckBox(int x, int y, int width, int height, const char* text)
{
    return AddControl("BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, x, y, width, height);
}

HWND Form::AddDropDownList(int x, int y, int width, int height, std::initializer_list<const char*> entries)
{
    HWND list = AddControl("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, x, y, width, height);
    for (const char* entry : entries)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    return list;
}

HWND Form::AddPushButton(int x, int y, int width, int height, const char* text, bool isDefault)
{
    HWND button = AddControl("BUTTON", text, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, x, y,
                             width, height);
    // Without this the dialog manager answers IDOK as the default, whatever
    // the form's buttons are.
    if (isDefault)
        SendMessageA(Handle(), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(button)), 0);
    return button;
}

TplButton& Form::AddGradientButton(int x, int y, int width, int height, const char* name)
{
    auto button = std::make_unique<TplButton>();
    HWND hwnd = button->Create(Handle(), nextId_++, Px(x), Px(y), Px(width), Px(height), name);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    Place(hwnd, x, y, width, height);
    buttons_.push_back(std::move(button));
    return *buttons_.back();
}

TplButton& Form::AddDialogButton(int x, int y, int width, int height, const char* name, const char* caption,
                                 int modalResult)
{
    TplButton& button = AddGradientButton(x, y, width, height, name);
    button.CaptionA().SetCaption(caption);
    button.SetGradEndColor(kDialogButtonGradEnd);
    button.SetCaptionTop(6);
    button.SetModalResult(modalResult);
    return button;
}

HBRUSH Form::BackgroundBrush() const
{
    return HighContrastOn() ? GetSysColorBrush(COLOR_BTNFACE) : background_.get();
}

void Form::PaintAccentStrip(HDC dc, int right) const
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (HighContrastOn())
        return;  // the plain face: no colours of the program's own
    FillGradient(dc, true, RECT{0, 0, Px(right), client.bottom}, kAccentStripStart, style_.color);
}

HWND Form::AddListView(int x, int y, int width, int height, DWORD style, DWORD exStyle)
{
    return AddControl(WC_LISTVIEWA, "", WS_TABSTOP | style, exStyle, x, y, width, height);
}

void Form::AddTopBevel(int x, int y, int width, int height)
{
    const RECT r{x, y, x + width, y + height};
    graphics_.push_back({r, nullptr, r});
}

void Form::AddImage(int x, int y, int width, int height, HICON icon)
{
    const RECT r{x, y, x + width, y + height};
    graphics_.push_back({r, icon, r});
}

void Form::SetHint(HWND control, const char* text)
{
    if (!tooltip_)
        return;
    hints_.emplace_back(text);
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Handle();
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = hints_.back().data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void Form::SetMenuBar(HMENU menu)
{
    menu_.reset(menu);
    SetMenu(Handle(), menu);
    ApplyClientSize();
}

HFONT Form::FormFontRecipe::Make(int dpi) const
{
    return CreateFontA(Scale(height, dpi), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
}

HFONT Form::MakeFont(const char* face, int height, BYTE charset, bool underline)
{
    fonts_.push_back({face, height, charset, underline, UniqueFont()});
    fonts_.back().font.reset(fonts_.back().Make(dpi_));
    return fonts_.back().font.get();
}

void Form::OnDpiChanged(int dpi, const RECT& suggested)
{
    if (dpi <= 0)
        return;
    dpi_ = dpi;
    // Every font anew for the new DPI, handed to the windows that had the old
    // one; the old ones go once nobody holds them.
    std::vector<UniqueFont> old;
    for (FormFontRecipe& recipe : fonts_) {
        UniqueFont fresh(recipe.Make(dpi_));
        const HFONT was = recipe.font.get();
        for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)) == was)
                SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fresh.get()), FALSE);
        old.push_back(std::exchange(recipe.font, std::move(fresh)));
    }
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    FitText();
    PlaceControls();
    // The system's suggestion keeps the form where the user sees it; the
    // anchored controls follow its new client size.
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    CentreAgainAfterDpiChange(suggested);
    OnSize();
    Guarded([&] { FormDpiChanged(); });
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Form::OfferDialogKey(WPARAM key)
{
    for (const auto& button : buttons_)
        if (IsWindow(button->Handle()) && SendMessageA(button->Handle(), kFormDialogKey, key, 0))
            return true;
    return false;
}

void Form::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    // Enter and Escape that no control took come from the dialog manager as
    // IDOK and IDCANCEL without a control; the controls are asked first.
    if (!control && (id == IDOK || id == IDCANCEL)) {
        const WPARAM key = id == IDOK ? VK_RETURN : VK_ESCAPE;
        if (!OfferDialogKey(key) && key == VK_ESCAPE && style_.escapeCloses)
            Close();
        return;
    }
    Command(id, HIWORD(wParam), control);
}

void Form::PaintContent(HDC dc)
{
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, BackgroundBrush());
    FormPaint(dc);
    for (const Graphic& g : graphics_) {
        const RECT r = ScaledRect(g.rect);
        if (g.icon) {
            DrawIconEx(dc, r.left, r.top, g.icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
            continue;
        }
        // A lowered top line: shadow above, highlight below.
        RECT line{r.left, r.top, r.right, r.top + Px(1)};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        OffsetRect(&line, 0, Px(1));
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const auto painted = PaintMessage(message, wParam))
        return *painted;
    switch (message) {
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_CLOSE:
        // The title bar's close box: the dialog manager would turn it into
        // IDCANCEL, which means Escape here.
        Close();
        return 0;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_NOTIFY:
        return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        SetBkColor(dc, ContrastColour(style_.color, COLOR_BTNFACE));
        if (HighContrastOn())
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    case WM_ENTERSIZEMOVE:
        centredByProgram_ = false;  // where the user puts it, it stays
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case kFormSetModalResult:
        SetModalResult(static_cast<int>(wParam));
        return 0;
    default:
        break;
    }
    bool handled = false;
    const LRESULT r = Message(message, wParam, lParam, handled);
    if (handled)
        return r;
    return Default(message, wParam, lParam);
}
