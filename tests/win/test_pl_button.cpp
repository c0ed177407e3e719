#include <doctest/doctest.h>
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/FormMessages.h"
#include "controls/PlButton.h"
#include "platform/Raii.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr int kButtonId = 101;
constexpr ButtonColour kDialogEnd = 0x00ACD5D0;
constexpr const char* kParentClass = "vlcrButtonTestParent";

// What the parent heard from its buttons, in order.
struct ParentEvent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<ParentEvent> g_parentEvents;
std::function<void()> g_onCommand;  // runs inside the parent's WM_COMMAND

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kFormSetModalResult || message == WM_COMMAND) {
        g_parentEvents.push_back({message, wParam, lParam});
        if (message == WM_COMMAND && g_onCommand)
            g_onCommand();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::vector<int> ModalResults()
{
    std::vector<int> out;
    for (const ParentEvent& e : g_parentEvents)
        if (e.message == kFormSetModalResult)
            out.push_back(static_cast<int>(e.wParam));
    return out;
}

int CommandCount()
{
    int n = 0;
    for (const ParentEvent& e : g_parentEvents)
        n += e.message == WM_COMMAND;
    return n;
}

// A plain top-level parent, away from the pointer, so that real pointer
// moves never reach the buttons.
class TestParent {
public:
    TestParent()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kParentClass;
        RegisterClassA(&wc);
        SetCursorPos(0, 0);
        hwnd_ = CreateWindowExA(0, kParentClass, "button test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 320, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(hwnd_);
        PumpMessages(20);
        g_parentEvents.clear();
        g_onCommand = nullptr;
    }
    ~TestParent()
    {
        g_onCommand = nullptr;
        if (IsWindow(hwnd_))
            DestroyWindow(hwnd_);
    }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

HFONT MakeFormFont()
{
    return CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
}

// A button as the dialogs set theirs: 121 x 22, white to 0x00ACD5D0, caption
// top 6, "OK".
struct ButtonFixture {
    TestParent parent;
    UniqueFont font{MakeFormFont()};
    std::unique_ptr<TplButton> button = std::make_unique<TplButton>();

    explicit ButtonFixture(int width = 121, int height = 22, bool dialogSettings = true)
    {
        button->Create(parent.hwnd(), kButtonId, 10, 10, width, height, "plButton1");
        SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        if (dialogSettings) {
            button->SetGradEndColor(kDialogEnd);
            button->SetCaptionTop(6);
            button->Image().SetTop(0);
            button->CaptionA().SetCaption("OK");
        }
        PumpMessages(10);
        g_parentEvents.clear();
    }
    HWND hwnd() const { return button->Handle(); }

    std::unique_ptr<PixelCanvas> Print() const
    {
        RECT r{};
        GetClientRect(hwnd(), &r);
        auto canvas = std::make_unique<PixelCanvas>(r.right, r.bottom, 0x00FF00FF);
        SendMessageA(hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
        return canvas;
    }

    void Focus() const
    {
        SetForegroundWindow(parent.hwnd());
        SetFocus(hwnd());
        PumpMessages(10);
    }
    void Unfocus() const
    {
        SetFocus(parent.hwnd());
        PumpMessages(10);
    }
};

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

bool SamePixels(const PixelCanvas& a, const PixelCanvas& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.at(x, y) != b.at(x, y))
                return false;
    return true;
}

// The box of pixels in `area` that are not the face gradient of their row.
RECT InkBox(const PixelCanvas& c, RECT area, ButtonColour end = kDialogEnd)
{
    RECT box{area.right, area.bottom, area.left - 1, area.top - 1};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (c.at(x, y) != GradientRowColour(0x00FFFFFF, end, y, c.height())) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
    return box;
}

int CountColour(const PixelCanvas& c, RECT area, COLORREF colour) { return c.count(area, colour); }

constexpr RECT kCaptionArea{3, 3, 118, 19};
// Inside the focus mark.
constexpr RECT kInsideFocus{4, 4, 117, 18};

}  // namespace

TEST_CASE("button face: the gradient rows from white to the end colour")
{
    ButtonFixture f;
    SUBCASE("without a frame, row 0 is exactly white and the last row exactly the end colour")
    {
        f.button->SetButtonStyle(TplButtonStyle::bsFlatNoFrame);
        auto c = f.Print();
        CHECK(c->at(5, 0) == 0x00FFFFFF);
        CHECK(c->at(5, 21) == kDialogEnd);
        for (int y = 0; y < 22; ++y)
            CHECK(c->at(5, y) == GradientRowColour(0x00FFFFFF, kDialogEnd, y, 22));
        CHECK(c->at(120, 21) == kDialogEnd);  // the whole width
    }
    SUBCASE("inside the raised frame, the inner column carries the same rows")
    {
        auto c = f.Print();
        for (int y = 2; y < 20; ++y)
            CHECK(c->at(5, y) == GradientRowColour(0x00FFFFFF, kDialogEnd, y, 22));
    }
    SUBCASE("a one-row button shows only the begin colour")
    {
        ButtonFixture thin(40, 1, false);
        thin.button->SetButtonStyle(TplButtonStyle::bsFlatNoFrame);
        thin.button->CaptionA().SetCaption("");
        thin.button->SetGradBeginColor(0x00204060);
        auto c = thin.Print();
        CHECK(c->at(0, 0) == 0x00204060);
        CHECK(c->at(39, 0) == 0x00204060);
    }
    SUBCASE("without gradation the face is the plain colour")
    {
        f.button->SetButtonStyle(TplButtonStyle::bsFlatNoFrame);
        f.button->SetGradation(false);
        f.button->SetColor(0x00336699);
        auto c = f.Print();
        CHECK(c->at(5, 0) == 0x00336699);
        CHECK(c->at(5, 21) == 0x00336699);
    }
}

TEST_CASE("button frame: the raised edge in the system colours")
{
    ButtonFixture f;
    auto c = f.Print();
    CHECK(c->at(60, 0) == GetSysColor(COLOR_3DLIGHT));
    CHECK(c->at(60, 1) == GetSysColor(COLOR_BTNHIGHLIGHT));
    CHECK(c->at(60, 20) == GetSysColor(COLOR_BTNSHADOW));
    CHECK(c->at(60, 21) == GetSysColor(COLOR_3DDKSHADOW));
    CHECK(c->at(0, 10) == GetSysColor(COLOR_3DLIGHT));
    CHECK(c->at(120, 10) == GetSysColor(COLOR_3DDKSHADOW));
}

TEST_CASE("button pressed: two rings and the caption one pixel down and right")
{
    ButtonFixture f;
    auto up = f.Print();
    SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 10));
    REQUIRE(f.button->Pressed());
    auto down = f.Print();
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    CHECK(down->at(60, 0) == shadow);
    CHECK(down->at(0, 10) == shadow);
    CHECK(down->at(120, 10) == shadow);
    CHECK(down->at(60, 21) == shadow);
    CHECK(down->at(60, 1) == 0x00808080);
    CHECK(down->at(1, 10) == 0x00808080);
    CHECK(down->at(119, 10) == 0x00808080);
    CHECK(down->at(60, 20) == 0x00808080);
    CHECK(down->at(60, 2) == GradientRowColour(0x00FFFFFF, kDialogEnd, 2, 22));

    // The press took the focus: the caption is read inside the focus mark.
    REQUIRE(GetFocus() == f.hwnd());
    const RECT a = InkBox(*up, kInsideFocus);
    const RECT b = InkBox(*down, kInsideFocus);
    REQUIRE(a.right > a.left);
    CHECK(b.left == a.left + 1);
    CHECK(b.top == a.top + 1);
    CHECK(b.right == a.right + 1);
    CHECK(b.bottom == a.bottom + 1);
    SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(60, 10));
    CHECK_FALSE(f.button->Pressed());
}

TEST_CASE("button focus: the dotted rectangle three pixels inside, only while focused")
{
    ButtonFixture f;
    f.Unfocus();
    auto plain = f.Print();
    f.Focus();
    REQUIRE(GetFocus() == f.hwnd());
    auto focused = f.Print();
    // The mark inverts pixels on the rectangle (3, 3) - (118, 19) and nowhere else.
    int inverted = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 121; ++x) {
            const bool onMark = (x >= 3 && x <= 117 && (y == 3 || y == 18)) || (y >= 3 && y <= 18 && (x == 3 || x == 117));
            if (plain->at(x, y) == focused->at(x, y))
                continue;
            CHECK(onMark);
            CHECK(focused->at(x, y) == (plain->at(x, y) ^ 0x00FFFFFF));
            ++inverted;
        }
    CHECK(inverted > 100);

    SUBCASE("a button without focus handling shows no mark even when it has the focus")
    {
        f.button->SetHasFocus(false);
        f.Focus();
        REQUIRE(GetFocus() == f.hwnd());
        auto c = f.Print();
        CHECK(SamePixels(*c, *plain));
    }
}

TEST_CASE("button disabled: shadow-coloured caption over a highlight copy, only with focus handling")
{
    ButtonFixture f;
    f.button->CaptionA().SetCaption("キャンセル");
    auto enabled = f.Print();
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    REQUIRE(CountColour(*enabled, kCaptionArea, text) > 10);

    f.button->Enable(false);
    REQUIRE_FALSE(IsWindowEnabled(f.hwnd()));
    auto disabled = f.Print();
    CHECK(CountColour(*disabled, kCaptionArea, text) == 0);
    CHECK(CountColour(*disabled, kCaptionArea, shadow) > 10);
    CHECK(CountColour(*disabled, kCaptionArea, highlight) > 10);
    // The copy lies one pixel right of and below the main drawing.
    RECT s{200, 200, -1, -1}, h{200, 200, -1, -1};
    for (int y = kCaptionArea.top; y < kCaptionArea.bottom; ++y)
        for (int x = kCaptionArea.left; x < kCaptionArea.right; ++x) {
            RECT* box = disabled->at(x, y) == shadow ? &s : disabled->at(x, y) == highlight ? &h : nullptr;
            if (!box)
                continue;
            box->left = std::min<LONG>(box->left, x);
            box->top = std::min<LONG>(box->top, y);
            box->right = std::max<LONG>(box->right, x);
            box->bottom = std::max<LONG>(box->bottom, y);
        }
    CHECK(h.right == s.right + 1);
    CHECK(h.bottom == s.bottom + 1);
    // The main drawing sits where the enabled caption was.
    const RECT e = InkBox(*enabled, kCaptionArea);
    CHECK(s.left == e.left);
    CHECK(s.top == e.top);

    f.button->SetHasFocus(false);
    auto plain = f.Print();
    CHECK(SamePixels(*plain, *enabled));
}

TEST_CASE("button round styles: outline, focus mark and the window region")
{
    ButtonFixture f;
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    REQUIRE(GetWindowRgn(f.hwnd(), probe) == ERROR);

    f.button->SetButtonStyle(TplButtonStyle::bsRoundRect);
    CHECK(GetWindowRgn(f.hwnd(), probe) != ERROR);
    CHECK(PtInRegion(probe, 60, 10));
    CHECK_FALSE(PtInRegion(probe, 0, 0));  // the corner is cut off
    auto c = f.Print();
    CHECK(c->at(60, 0) == 0x00757575);
    CHECK(c->at(0, 11) == 0x00757575);
    CHECK(c->at(60, 21) == 0x00757575);
    CHECK(c->at(120, 11) == 0x00757575);
    CHECK(c->at(0, 0) != 0x00757575);

    f.Focus();
    auto focused = f.Print();
    CHECK(CountColour(*focused, {4, 2, 117, 3}, 0x00202020) > 20);
    CHECK(CountColour(*focused, {4, 2, 117, 3}, 0x00202020) < 113);  // every other pixel
    CHECK(CountColour(*c, {4, 2, 117, 3}, 0x00202020) == 0);

    SUBCASE("a new size gets a new region")
    {
        SetWindowPos(f.hwnd(), nullptr, 0, 0, 160, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        REQUIRE(GetWindowRgn(f.hwnd(), probe) != ERROR);
        CHECK(PtInRegion(probe, 150, 15));
        CHECK_FALSE(PtInRegion(probe, 0, 0));
    }
    SUBCASE("switching to the normal style removes the region")
    {
        f.button->SetButtonStyle(TplButtonStyle::bsNormal);
        CHECK(GetWindowRgn(f.hwnd(), probe) == ERROR);
        auto n = f.Print();
        CHECK(n->at(60, 0) == GetSysColor(COLOR_3DLIGHT));
    }
    SUBCASE("the frameless round style keeps the region but draws no outline")
    {
        f.button->SetButtonStyle(TplButtonStyle::bsRoundRectNoFrame);
        CHECK(GetWindowRgn(f.hwnd(), probe) != ERROR);
        f.Unfocus();
        auto n = f.Print();
        CHECK(n->at(60, 0) == 0x00FFFFFF);
    }
    DeleteObject(probe);
}

TEST_CASE("button flat styles differ from the normal frame and from each other")
{
    ButtonFixture f;
    const auto frame = [&](TplButtonStyle style, TplBtnFrameType type) {
        f.button->SetButtonStyle(style);
        f.button->SetFlatFrameType(type);
        auto c = f.Print();
        return std::vector<COLORREF>{c->at(60, 0), c->at(60, 1), c->at(60, 20), c->at(60, 21)};
    };
    const auto normal = frame(TplButtonStyle::bsNormal, TplBtnFrameType::bffFlat);
    const auto flat = frame(TplButtonStyle::bsFlat, TplBtnFrameType::bffFlat);
    const auto etched = frame(TplButtonStyle::bsFlat, TplBtnFrameType::bffEtched);
    const auto bump = frame(TplButtonStyle::bsFlat, TplBtnFrameType::bffBump);
    const auto none = frame(TplButtonStyle::bsFlatNoFrame, TplBtnFrameType::bffFlat);
    CHECK(flat != normal);
    CHECK(etched != normal);
    CHECK(bump != normal);
    CHECK(etched != bump);
    CHECK(flat != bump);
    // Etched: sunken outside, raised inside.
    CHECK(etched[0] == GetSysColor(COLOR_BTNSHADOW));
    CHECK(etched[1] == GetSysColor(COLOR_BTNHIGHLIGHT));
    CHECK(none[0] == 0x00FFFFFF);
    CHECK(none[3] == kDialogEnd);
}

TEST_CASE("button captions: alignments and even spreading")
{
    ButtonFixture f;
    f.button->CaptionA().SetCaption("キャンセル");
    const auto ink = [&] { return InkBox(*f.Print(), kCaptionArea); };
    const RECT centre = ink();
    CHECK(std::abs((centre.left + centre.right) / 2 - 60) <= 2);

    f.button->CaptionA().SetAlignment(TplBtnAlignment::taLeft);
    f.button->CaptionA().SetLeft(4);
    RECT r = ink();
    CHECK(r.left >= 6);
    CHECK(r.left <= 7);

    f.button->CaptionA().SetAlignment(TplBtnAlignment::taRight);
    f.button->CaptionA().SetRight(4);
    r = ink();
    CHECK(r.right <= 121 - 4 - 2 - 1);
    CHECK(r.right >= 121 - 4 - 2 - 3);

    f.button->CaptionA().SetAlignment(TplBtnAlignment::taEven);
    f.button->CaptionA().SetLeft(0);
    f.button->CaptionA().SetRight(0);
    r = ink();
    CHECK(r.left <= 3);
    CHECK(r.right >= 121 - 2 - 3);
    CHECK(r.right - r.left > centre.right - centre.left + 40);

    SUBCASE("one character spread evenly is centred")
    {
        f.button->CaptionA().SetCaption("閉");
        const RECT one = ink();
        CHECK(std::abs((one.left + one.right) / 2 - 60) <= 2);
    }
}

TEST_CASE("button caption lines: centred tops are kept, a fixed top gives the same picture")
{
    ButtonFixture centred(121, 22, false);
    centred.button->SetGradEndColor(kDialogEnd);
    centred.button->CaptionA().SetCaption("OK");
    CHECK(centred.button->CaptionVertCenter());
    auto a = centred.Print();
    SIZE size{};
    {
        WindowDc dc(centred.hwnd());
        SelectGuard font(dc.get(), centred.font.get());
        GetTextExtentPoint32A(dc.get(), "OK", 2, &size);
    }
    const int expected = (22 - size.cy) / 2 + 1;
    CHECK(centred.button->CaptionTop() == expected);
    CHECK(centred.button->CaptionVertCenter());

    ButtonFixture fixed;  // CaptionTop 6 from its settings
    CHECK_FALSE(fixed.button->CaptionVertCenter());
    fixed.button->SetCaptionTop(expected);
    auto b = fixed.Print();
    CHECK(SamePixels(*a, *b));

    SUBCASE("a second line alone is drawn one pixel higher than a first line alone")
    {
        centred.button->CaptionA().SetCaption("");
        centred.button->CaptionB().SetCaption("OK");
        auto c = centred.Print();
        CHECK(centred.button->CaptionTop() == (22 - size.cy) / 2);
        const RECT first = InkBox(*a, kCaptionArea);
        const RECT second = InkBox(*c, kCaptionArea);
        CHECK(second.top == first.top - 1);
        CHECK(second.left == first.left);
    }
}

TEST_CASE("button image: centred vertically, pressed offset, disabled look")
{
    ButtonFixture f;
    f.button->CaptionA().SetCaption("");
    f.button->Image().SetVertCenter(true);
    // An 8 x 8 red bitmap.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP red = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    REQUIRE(red);
    std::fill_n(static_cast<DWORD*>(bits), 64, 0x00FF0000);  // DIB order is blue-green-red: this is red
    GdiFlush();
    f.button->Image().SetBitmap(red);
    CHECK(f.button->Image().PictureWidth() == 8);
    auto c = f.Print();
    CHECK(f.button->Image().Top() == 7);
    CHECK(f.button->Image().VertCenter());
    CHECK(c->at(10, 7) == 0x000000FF);
    CHECK(c->at(17, 14) == 0x000000FF);
    CHECK(c->at(9, 7) != 0x000000FF);
    CHECK(c->at(10, 15) != 0x000000FF);

    SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 10));
    auto pressed = f.Print();
    CHECK(pressed->at(10, 7) != 0x000000FF);
    CHECK(pressed->at(18, 15) == 0x000000FF);
    SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(200, 10));

    f.button->Enable(false);
    auto disabled = f.Print();
    CHECK(CountColour(*disabled, {0, 0, 121, 22}, 0x000000FF) == 0);

    f.button->Image().SetVisible(false);
    f.button->Enable(true);
    auto hidden = f.Print();
    CHECK(CountColour(*hidden, {0, 0, 121, 22}, 0x000000FF) == 0);
}

namespace {

// A 32-bit top-down bitmap of `size` x `size`, every pixel `colour`
// (0x00BBGGRR), the bottom-left pixel `corner`.
HBITMAP SolidBitmap(int size, COLORREF colour, COLORREF corner)
{
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const auto dib = [](COLORREF c) { return static_cast<DWORD>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); };
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill_n(pixels, size * size, dib(colour));
    pixels[(size - 1) * size] = dib(corner);
    GdiFlush();
    return bitmap;
}

}  // namespace

TEST_CASE("button image: a transparent bitmap lets the face through its corner colour; icons are drawn")
{
    ButtonFixture f;
    f.button->CaptionA().SetCaption("");
    f.button->Image().SetVertCenter(true);
    SUBCASE("transparent bitmap")
    {
        // Green keyed out: a green frame row and column around a blue square.
        HBITMAP bitmap = SolidBitmap(8, 0x00FF0000, 0x0000FF00);
        f.button->Image().SetBitmap(bitmap);
        auto opaque = f.Print();
        CHECK(opaque->at(10, 14) == 0x0000FF00);
        f.button->Image().SetTransParent(true);
        auto clear = f.Print();
        CHECK(clear->at(10, 14) == GradientRowColour(0x00FFFFFF, kDialogEnd, 14, 22));
        CHECK(clear->at(11, 14) == 0x00FF0000);
        CHECK(clear->at(10, 7) == 0x00FF0000);
    }
    SUBCASE("icon from colour and mask bitmaps")
    {
        HBITMAP colour = SolidBitmap(16, 0x000000FF, 0x000000FF);
        HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all zero: every pixel opaque
        ICONINFO info{TRUE, 0, 0, mask, colour};
        HICON icon = CreateIconIndirect(&info);
        DeleteObject(colour);
        DeleteObject(mask);
        REQUIRE(icon);
        f.button->Image().SetIcon(icon);
        CHECK(f.button->Image().PictureWidth() == 16);
        CHECK(f.button->Image().PictureHeight() == 16);
        auto c = f.Print();
        CHECK(f.button->Image().Top() == 3);
        CHECK(c->at(10, 3) == 0x000000FF);
        CHECK(c->at(25, 18) == 0x000000FF);
        CHECK(c->at(26, 10) != 0x000000FF);

        TplButton other;
        other.Image().Assign(f.button->Image());
        CHECK(other.Image().Icon() != nullptr);
        CHECK(other.Image().Icon() != f.button->Image().Icon());
        CHECK(other.Image().PictureWidth() == 16);
    }
}

TEST_CASE("button mouse: press and release inside is one click with the modal result first")
{
    ButtonFixture f;
    f.button->SetModalResult(1);
    SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    CHECK(f.button->Pressed());
    CHECK(GetCapture() == f.hwnd());
    CHECK(GetFocus() == f.hwnd());
    CHECK(g_parentEvents.empty());
    SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(10, 10));
    CHECK_FALSE(f.button->Pressed());
    CHECK(GetCapture() == nullptr);
    REQUIRE(g_parentEvents.size() == 2);
    CHECK(g_parentEvents[0].message == kFormSetModalResult);
    CHECK(g_parentEvents[0].wParam == 1);
    CHECK(g_parentEvents[1].message == WM_COMMAND);
    CHECK(g_parentEvents[1].wParam == MAKEWPARAM(kButtonId, BN_CLICKED));
    CHECK(g_parentEvents[1].lParam == reinterpret_cast<LPARAM>(f.hwnd()));

    SUBCASE("a modal result of 0 is handed over too")
    {
        f.button->SetModalResult(0);
        g_parentEvents.clear();
        SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
        SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(10, 10));
        CHECK(ModalResults() == std::vector<int>{0});
        CHECK(CommandCount() == 1);
    }
    SUBCASE("through the message queue as well")
    {
        g_parentEvents.clear();
        PostMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(30, 5));
        PostMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(30, 5));
        PumpMessages(30);
        CHECK(ModalResults() == std::vector<int>{1});
        CHECK(CommandCount() == 1);
    }
}

TEST_CASE("button mouse: dragging off raises the face, releasing outside does not click")
{
    ButtonFixture f;
    int enters = 0, leaves = 0;
    f.button->OnMouseEnter = [&](TplButton& sender, unsigned, int, int) {
        CHECK(&sender == f.button.get());
        ++enters;
    };
    f.button->OnMouseLeave = [&](TplButton&, unsigned, int, int) { ++leaves; };
    SendMessageA(f.hwnd(), WM_MOUSEMOVE, 0, At(20, 10));
    CHECK(enters == 1);
    SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
    REQUIRE(f.button->Pressed());
    SendMessageA(f.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(200, 10));
    CHECK(leaves == 1);
    CHECK_FALSE(f.button->Pressed());
    auto c = f.Print();
    CHECK(c->at(60, 0) == GetSysColor(COLOR_3DLIGHT));

    SUBCASE("released outside: nothing")
    {
        SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(200, 10));
        CHECK(g_parentEvents.empty());
        CHECK(GetCapture() == nullptr);
    }
    SUBCASE("back inside the face stays raised, and the release there clicks")
    {
        SendMessageA(f.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(20, 10));
        CHECK(enters == 2);
        CHECK_FALSE(f.button->Pressed());
        SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(20, 10));
        CHECK(CommandCount() == 1);
    }
}

TEST_CASE("button mouse: enter and leave events with the pointer position")
{
    ButtonFixture f;
    std::vector<std::pair<int, int>> entered, left;
    f.button->OnMouseEnter = [&](TplButton&, unsigned, int x, int y) { entered.emplace_back(x, y); };
    f.button->OnMouseLeave = [&](TplButton&, unsigned, int x, int y) { left.emplace_back(x, y); };
    SendMessageA(f.hwnd(), WM_MOUSEMOVE, 0, At(5, 6));
    SendMessageA(f.hwnd(), WM_MOUSEMOVE, 0, At(7, 8));
    REQUIRE(entered.size() == 1);
    CHECK(entered[0] == std::pair{5, 6});
    CHECK(left.empty());
    // The pointer really is far away (top left of the screen).
    SendMessageA(f.hwnd(), WM_MOUSELEAVE, 0, 0);
    REQUIRE(left.size() == 1);
    CHECK(left[0].first < 0);
    SendMessageA(f.hwnd(), WM_MOUSELEAVE, 0, 0);
    CHECK(left.size() == 1);
}

TEST_CASE("button keys: Enter on the focused button clicks without a modal result")
{
    ButtonFixture f;
    f.button->SetModalResult(2);
    f.Focus();
    REQUIRE(GetFocus() == f.hwnd());

    SUBCASE("the key itself")
    {
        CHECK(SendMessageA(f.hwnd(), WM_KEYDOWN, VK_RETURN, 0) == 0);
        CHECK(CommandCount() == 1);
        CHECK(ModalResults().empty());
        SendMessageA(f.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
        SendMessageA(f.hwnd(), WM_KEYUP, VK_SPACE, 0);
        CHECK(CommandCount() == 1);
    }
    SUBCASE("through the dialog manager, which leaves Enter to the button")
    {
        MSG msg{f.hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        CHECK((SendMessageA(f.hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE) != 0);
        CHECK(IsDialogMessageA(f.parent.hwnd(), &msg));
        CHECK(CommandCount() == 1);
        REQUIRE(!g_parentEvents.empty());
        CHECK(LOWORD(g_parentEvents.back().wParam) == kButtonId);
        CHECK(ModalResults().empty());
    }
    SUBCASE("the dialog code follows the focus; the message may be missing")
    {
        const LRESULT code = SendMessageA(f.hwnd(), WM_GETDLGCODE, 0, 0);
        CHECK(code == (DLGC_BUTTON | DLGC_DEFPUSHBUTTON));
        MSG tab{f.hwnd(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        CHECK((SendMessageA(f.hwnd(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTMESSAGE) == 0);
        f.Unfocus();
        CHECK(SendMessageA(f.hwnd(), WM_GETDLGCODE, 0, 0) == (DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON));
    }
    SUBCASE("not focused or disabled: nothing")
    {
        f.Unfocus();
        SendMessageA(f.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
        f.Focus();
        f.button->Enable(false);
        SendMessageA(f.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
        CHECK(g_parentEvents.empty());
    }
    SUBCASE("releasing Enter clears the pressed look")
    {
        SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
        REQUIRE(f.button->Pressed());
        SendMessageA(f.hwnd(), WM_KEYUP, VK_RETURN, 0);
        CHECK_FALSE(f.button->Pressed());
        auto c = f.Print();
        CHECK(c->at(60, 0) == GetSysColor(COLOR_3DLIGHT));
        ReleaseCapture();
    }
    SUBCASE("BM_CLICK is the full click")
    {
        SendMessageA(f.hwnd(), BM_CLICK, 0, 0);
        CHECK(ModalResults() == std::vector<int>{2});
        CHECK(CommandCount() == 1);
    }
}

TEST_CASE("button dialog keys: Escape for a cancel button, Enter for the focused one")
{
    ButtonFixture f;
    f.button->SetModalResult(2);

    SUBCASE("Escape with Cancel set: handled, modal result, click")
    {
        f.button->SetCancel(true);
        CHECK(SendMessageA(f.hwnd(), kFormDialogKey, VK_ESCAPE, 0) == TRUE);
        CHECK(ModalResults() == std::vector<int>{2});
        CHECK(CommandCount() == 1);
        CHECK(g_parentEvents.back().message == WM_COMMAND);
    }
    SUBCASE("Escape without Cancel: not handled")
    {
        CHECK(SendMessageA(f.hwnd(), kFormDialogKey, VK_ESCAPE, 0) == 0);
        CHECK(g_parentEvents.empty());
    }
    SUBCASE("Enter: only for the focused button")
    {
        f.Unfocus();
        CHECK(SendMessageA(f.hwnd(), kFormDialogKey, VK_RETURN, 0) == 0);
        f.Focus();
        CHECK(SendMessageA(f.hwnd(), kFormDialogKey, VK_RETURN, 0) == TRUE);
        CHECK(ModalResults() == std::vector<int>{2});
    }
    SUBCASE("with Shift held: not handled")
    {
        f.button->SetCancel(true);
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE held[256];
        std::copy(keys, keys + 256, held);
        held[VK_SHIFT] = 0x80;
        SetKeyboardState(held);
        const LRESULT answer = SendMessageA(f.hwnd(), kFormDialogKey, VK_ESCAPE, 0);
        SetKeyboardState(keys);
        CHECK(answer == 0);
        CHECK(g_parentEvents.empty());
    }
    SUBCASE("a disabled button takes no key")
    {
        f.button->SetCancel(true);
        f.button->Enable(false);
        CHECK(SendMessageA(f.hwnd(), kFormDialogKey, VK_ESCAPE, 0) == 0);
        CHECK(g_parentEvents.empty());
    }
}

TEST_CASE("button without focus handling: no dialog keys, no focus on click, no pressed offset")
{
    ButtonFixture f;
    f.button->SetCancel(true);
    f.button->SetHasFocus(false);
    CHECK(SendMessageA(f.hwnd(), kFormDialogKey, VK_ESCAPE, 0) == 0);
    CHECK(g_parentEvents.empty());

    f.Unfocus();
    auto up = f.Print();
    SendMessageA(f.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    CHECK(GetFocus() != f.hwnd());
    CHECK(f.button->Pressed());
    auto down = f.Print();
    // The rings show, the caption stays where it was.
    CHECK(down->at(60, 1) == 0x00808080);
    const RECT a = InkBox(*up, kCaptionArea);
    const RECT b = InkBox(*down, kCaptionArea);
    CHECK(a.left == b.left);
    CHECK(a.top == b.top);
    SendMessageA(f.hwnd(), WM_LBUTTONUP, 0, At(10, 10));
    CHECK(CommandCount() == 1);
}

TEST_CASE("button life: component name, font, and either side going first")
{
    SUBCASE("the first parent names the first line; the font is the one given")
    {
        ButtonFixture f(75, 26, false);
        CHECK(f.button->CaptionA().Caption() == "plButton1");
        CHECK(reinterpret_cast<HFONT>(SendMessageA(f.hwnd(), WM_GETFONT, 0, 0)) == f.font.get());
        CHECK(GetDlgCtrlID(f.hwnd()) == kButtonId);
        CHECK((GetWindowLongPtrA(f.hwnd(), GWL_STYLE) & WS_TABSTOP) != 0);
        CHECK(f.button->GradEndColor() == 0x00C0C0C0);
        CHECK(f.button->CornerSize() == 10);
        CHECK(f.button->Image().Left() == 10);
    }
    SUBCASE("the parent window goes first")
    {
        ButtonFixture f;
        HWND button = f.hwnd();
        DestroyWindow(f.parent.hwnd());
        CHECK_FALSE(IsWindow(button));
        CHECK(f.button->Handle() == nullptr);
        f.button->CaptionA().SetCaption("after");  // no window to paint: harmless
        f.button->SetButtonStyle(TplButtonStyle::bsRoundRect);
        f.button.reset();
    }
    SUBCASE("the object goes first and takes its window along")
    {
        ButtonFixture f;
        HWND button = f.hwnd();
        f.button.reset();
        CHECK_FALSE(IsWindow(button));
    }
    SUBCASE("the form drops the button while handling its click")
    {
        ButtonFixture f;
        HWND button = f.hwnd();
        g_onCommand = [&] { f.button.reset(); };
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
        SendMessageA(button, WM_LBUTTONUP, 0, At(10, 10));
        CHECK(f.button == nullptr);
        CHECK_FALSE(IsWindow(button));
        CHECK(GetCapture() == nullptr);
    }
}

TEST_CASE("button leaks: 200 buttons created, painted and destroyed hold no GDI objects")
{
    TestParent parent;
    UniqueFont font(MakeFormFont());
    const auto round = [&](int i) {
        auto button = std::make_unique<TplButton>();
        button->Create(parent.hwnd(), kButtonId + i, 10, 10, 121, 22, "plButton1");
        SendMessageA(button->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        button->SetGradEndColor(kDialogEnd);
        if (i % 2)
            button->SetButtonStyle(TplButtonStyle::bsRoundRect);
        button->CaptionB().SetCaption("閉じる");
        if (i % 4 == 0) {
            button->Image().SetBitmap(SolidBitmap(8, 0x00FF0000, 0x0000FF00));
            button->Image().SetTransParent(i % 8 == 0);
        }
        SetFocus(button->Handle());
        PixelCanvas canvas(121, 22, 0);
        SendMessageA(button->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
        SendMessageA(button->Handle(), WM_LBUTTONUP, 0, At(10, 10));
        if (i % 3 == 0)
            DestroyWindow(button->Handle());  // the window first, the object after
    };
    round(0);  // classes registered, stock objects touched
    PumpMessages(10);
    const unsigned before = CountGdiObjects();
    for (int i = 1; i <= 200; ++i)
        round(i);
    PumpMessages(10);
    CHECK(CountGdiObjects() == before);
}

TEST_CASE("a screen reader reads the button as a push button with its caption, states and a clicking action")
{
    const ComScope com;  // as the resident program has it
    ButtonFixture f;
    f.button->CaptionA().SetCaption("参照(&B)...");
    IAccessible* read = nullptr;
    REQUIRE(AccessibleObjectFromWindow(f.hwnd(), OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&read)) ==
            S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{}, state{};
    CHECK(read->get_accRole(self, &role) == S_OK);
    CHECK(role.lVal == ROLE_SYSTEM_PUSHBUTTON);
    BSTR name = nullptr, key = nullptr;
    read->get_accName(self, &name);
    read->get_accKeyboardShortcut(self, &key);
    CHECK(std::wstring(name ? name : L"") == L"参照(B)...");
    CHECK(std::wstring(key ? key : L"") == L"Alt+B");
    SysFreeString(name);
    SysFreeString(key);
    SetFocus(f.hwnd());
    read->get_accState(self, &state);
    CHECK((state.lVal & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT)) == (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT));
    CHECK((state.lVal & STATE_SYSTEM_UNAVAILABLE) == 0);
    // Its default action is a click, once the call has returned.
    CHECK(read->accDoDefaultAction(self) == S_OK);
    CHECK(CommandCount() == 0);
    PumpMessages(20);
    CHECK(CommandCount() == 1);
    f.button->Enable(false);
    read->get_accState(self, &state);
    CHECK((state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0);
    CHECK(read->accDoDefaultAction(self) != S_OK);
    // Once the window is gone the object held answers "disconnected".
    f.button.reset();
    CHECK(read->get_accRole(self, &role) == RPC_E_DISCONNECTED);
    read->Release();
}
