#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "core/Splash.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"
#include "platform/WindowHelpers.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr Colour kBlue = 0x00FF7030;
constexpr Colour kPaper = 0x00DDE7EC;
constexpr COLORREF kNameColour = 0x00FFA570;
constexpr COLORREF kUnpainted = 0x00FF00FF;

struct Box {
    int left, top, right, bottom;
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
// Where the icon and the two texts may ink the background.
constexpr Box kIconBox{5, 5, 5 + 32, 5 + 32};
constexpr Box kNameBox{60, 0, kSplashWidth, 40};
constexpr Box kStatusBox{140, 40, kSplashWidth, kSplashHeight};

// The background alone: the gradient as FillGradient paints it, then the
// paper colour from x 120.
void PaintBackground(HDC dc)
{
    FillGradient(dc, true, RECT{0, 0, 120, 100}, kBlue, kPaper);
    const UniqueBrush paper(CreateSolidBrush(kPaper));
    const RECT solid{120, 0, kSplashWidth, kSplashHeight};
    FillRect(dc, &solid, paper.get());
}

int Count(const PixelCanvas& canvas, const Box& box, bool (*match)(COLORREF))
{
    int n = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            n += match(canvas.at(x, y));
    return n;
}

void DestroyLeftoverSplash()
{
    HideSplash(true);
    REQUIRE(SplashWindow == nullptr);
}

}  // namespace

TEST_CASE("the splash picture: gradient, paper, icon and the two texts")
{
    PixelCanvas splash(kSplashWidth, kSplashHeight, kUnpainted);
    PaintSplash(splash.dc());
    PixelCanvas background(kSplashWidth, kSplashHeight, kUnpainted);
    PaintBackground(background.dc());

    SUBCASE("outside the icon and the texts, exactly the background")
    {
        int stray = 0;
        for (int y = 0; y < kSplashHeight; ++y)
            for (int x = 0; x < kSplashWidth; ++x) {
                if (kIconBox.contains(x, y) || kNameBox.contains(x, y) || kStatusBox.contains(x, y))
                    continue;
                stray += splash.at(x, y) != background.at(x, y);
            }
        CHECK(stray == 0);
        // The columns the icon and texts leave free, checked one by one.
        int wrong = 0;
        for (int x : {0, 1, 4, 37, 59})
            for (int y = 0; y < kSplashHeight; ++y)
                wrong += splash.at(x, y) != GradientBandColour(kBlue, kPaper, 0, 120, x);
        for (int x = 120; x < 140; ++x)
            for (int y = 40; y < kSplashHeight; ++y)
                wrong += splash.at(x, y) != kPaper;
        CHECK(wrong == 0);
        CHECK(splash.at(kSplashWidth - 1, kSplashHeight - 1) == kPaper);
        CHECK(splash.at(0, 0) == GradientBandColour(kBlue, kPaper, 0, 120, 0));
        CHECK(splash.at(119, kSplashHeight - 1) == GradientBandColour(kBlue, kPaper, 0, 120, 119));
    }
    SUBCASE("the executable's own large icon at 5, 5")
    {
        const UniqueIcon icon(ExtractFileIcon(ExecutablePath(), 0, true));
        REQUIRE(icon);
        REQUIRE(IconSize(icon.get()) == std::pair{32, 32});
        DrawIcon(background.dc(), 5, 5, icon.get());
        int differing = 0, iconPixels = 0;
        for (int y = kIconBox.top; y < kIconBox.bottom; ++y)
            for (int x = kIconBox.left; x < kIconBox.right; ++x) {
                differing += splash.at(x, y) != background.at(x, y);
                iconPixels += splash.at(x, y) != GradientBandColour(kBlue, kPaper, 0, 120, x);
            }
        CHECK(differing == 0);
        CHECK(iconPixels > 100);
    }
    SUBCASE("the name in its colour over both parts, the status text in black")
    {
        const int name = Count(splash, kNameBox, [](COLORREF c) { return c == kNameColour; });
        CHECK(name > 100);
        // The name starts over the gradient and runs on over the paper.
        CHECK(Count(splash, Box{60, 0, 120, 40}, [](COLORREF c) { return c == kNameColour; }) > 10);
        CHECK(Count(splash, Box{120, 0, kSplashWidth, 40}, [](COLORREF c) { return c == kNameColour; }) > 10);
        CHECK(Count(splash, kStatusBox, [](COLORREF c) { return c == kNameColour; }) == 0);
        CHECK(Count(splash, Box{140, 40, 200, 56}, [](COLORREF c) { return c == 0; }) > 5);
        // Transparent text: the gaps between the status glyphs keep the paper.
        CHECK(Count(splash, kStatusBox, [](COLORREF c) { return c == kPaper; }) > 100);
    }
}

TEST_CASE("painting the splash leaves the DC as it found it and leaks nothing")
{
    PixelCanvas canvas(kSplashWidth, kSplashHeight, kUnpainted);
    const HDC dc = canvas.dc();
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    SetTextColor(dc, 0x00010203);
    SetBkMode(dc, OPAQUE);
    PaintSplash(dc);  // the shell's icon caches settle on the first call
    const unsigned before = CountGdiObjects();
    for (int i = 0; i < 50; ++i)
        PaintSplash(dc);
    CHECK(CountGdiObjects() == before);
    CHECK(GetCurrentObject(dc, OBJ_FONT) == font);
    CHECK(GetCurrentObject(dc, OBJ_BRUSH) == brush);
    CHECK(GetTextColor(dc) == 0x00010203);
    CHECK(GetBkMode(dc) == OPAQUE);
}

TEST_CASE("ShowSplash puts the painted splash window on the screen")
{
    DestroyLeftoverSplash();
    ShowSplash();
    const HWND splash = SplashWindow;
    REQUIRE(splash != nullptr);
    CHECK(FindWindowA(kSplashWindowClass, "迅 -velocara-") == splash);
    CHECK(IsWindowVisible(splash));
    RECT r{};
    GetWindowRect(splash, &r);
    CHECK(r.left == 100);
    CHECK(r.top == 100);
    CHECK(r.right - r.left == 260);
    CHECK(r.bottom - r.top == 60);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(splash, GWL_STYLE));
    CHECK((style & WS_POPUP) != 0);
    CHECK((style & (WS_CAPTION | WS_THICKFRAME)) == 0);
    CHECK((GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);
    CHECK(GetClassLongPtrA(splash, GCL_STYLE) == (CS_VREDRAW | CS_HREDRAW));
    CHECK(GetClassLongPtrA(splash, GCLP_HBRBACKGROUND) == 15);

    // The picture is on the window itself, and the messages that follow
    // showing it do not erase it.
    PumpMessages(200);
    {
        const WindowDc dc(splash);
        CHECK(GetPixel(dc.get(), 2, 50) == GradientBandColour(kBlue, kPaper, 0, 120, 2));
        CHECK(GetPixel(dc.get(), 130, 50) == kPaper);
        CHECK(GetPixel(dc.get(), 250, 5) == kPaper);
    }

    SUBCASE("hiding without destroying keeps the window for later")
    {
        HideSplash(false);
        CHECK(SplashWindow == splash);
        CHECK(IsWindow(splash));
        CHECK_FALSE(IsWindowVisible(splash));
        WNDCLASSA wc;
        CHECK(GetClassInfoA(GetModuleHandleA(nullptr), kSplashWindowClass, &wc));
        HideSplash(true);
    }
    SUBCASE("hiding with destruction removes the window and its class")
    {
        HideSplash(true);
    }
    CHECK(SplashWindow == nullptr);
    CHECK_FALSE(IsWindow(splash));
    WNDCLASSA wc;
    CHECK_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), kSplashWindowClass, &wc));
    CHECK(FindWindowA(kSplashWindowClass, nullptr) == nullptr);
}

TEST_CASE("splash show and hide cycles leak no GDI objects and no windows")
{
    DestroyLeftoverSplash();
    ShowSplash();
    HideSplash(true);
    PumpMessages(50);
    const unsigned before = CountGdiObjects();
    for (int i = 0; i < 50; ++i) {
        ShowSplash();
        REQUIRE(SplashWindow != nullptr);
        HideSplash(i % 2 == 0);
        if (SplashWindow)
            HideSplash(true);
    }
    PumpMessages(50);
    CHECK(CountGdiObjects() == before);
    CHECK(FindWindowA(kSplashWindowClass, nullptr) == nullptr);
}
