#include <doctest/doctest.h>
#include <windows.h>

#include "platform/WindowHelpers.h"
#include "tests/win/MenuTestSupport.h"

namespace {

// The gradient as one solid brush per band, the way it is defined.
void BandByBand(HDC dc, bool horizontal, const RECT& rect, Colour from, Colour to)
{
    const int first = horizontal ? rect.left : rect.top;
    const int last = horizontal ? rect.right : rect.bottom;
    if (last < first)
        return;
    for (int i = first; i <= last; ++i) {
        const RECT band = horizontal ? RECT{i, rect.top, i + 1, rect.bottom} : RECT{rect.left, i, rect.right, i + 1};
        HBRUSH brush = CreateSolidBrush(GradientBandColour(from, to, first, last - first, i));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

struct Case {
    bool horizontal;
    RECT rect;
    Colour from, to;
};
const Case kCases[] = {
    {true, {0, 0, 55, 30}, 0x00FF7030, 0x00DDE7EC},    // the dialogs' strip
    {false, {3, 0, 70, 32}, 0x00FF7030, 0x00DDE7EC},   // the list editor's band
    {true, {40, 2, 179, 22}, 0x00FFFFFF, 0x00D7F2DE},  // a menu row's body
    {true, {10, 5, 11, 9}, 0x00000000, 0x00FFFFFF},    // two columns
    {true, {-20, -3, 30, 10}, 0x00123456, 0x00FEDCBA}, // partly outside
    {false, {5, 60, 9, 40}, 0x00000000, 0x00FFFFFF},   // reversed: nothing
    {true, {5, 10, 50, 10}, 0x00000000, 0x00FFFFFF},   // no height: nothing
};

// Paints every case on both DCs and compares all pixels.
int Differences(HDC mine, HDC reference, int w, int h)
{
    int diff = 0;
    for (const Case& c : kCases) {
        FillGradient(mine, c.horizontal, c.rect, c.from, c.to);
        BandByBand(reference, c.horizontal, c.rect, c.from, c.to);
    }
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            diff += GetPixel(mine, x, y) != GetPixel(reference, x, y);
    return diff;
}

HDC DibDc(int w, int h, WORD bits, HBITMAP& bitmap)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    void* data = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &data, nullptr, 0);
    SelectObject(dc, bitmap);
    const RECT all{0, 0, w, h};
    HBRUSH fill = CreateSolidBrush(0x00FF00FF);
    FillRect(dc, &all, fill);
    DeleteObject(fill);
    return dc;
}

}  // namespace

TEST_CASE("the gradient fill paints exactly what one brush per band paints")
{
    constexpr int w = 200, h = 80;
    SUBCASE("a 32-bit surface")
    {
        HBITMAP a, b;
        HDC mine = DibDc(w, h, 32, a), reference = DibDc(w, h, 32, b);
        CHECK(Differences(mine, reference, w, h) == 0);
        DeleteDC(mine);
        DeleteDC(reference);
        DeleteObject(a);
        DeleteObject(b);
    }
    SUBCASE("a screen-compatible bitmap, with a clip region and a moved origin")
    {
        HDC screen = GetDC(nullptr);
        HBITMAP a = CreateCompatibleBitmap(screen, w, h), b = CreateCompatibleBitmap(screen, w, h);
        HDC mine = CreateCompatibleDC(screen), reference = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        SelectObject(mine, a);
        SelectObject(reference, b);
        for (HDC dc : {mine, reference}) {
            const RECT all{0, 0, w, h};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            HRGN clip = CreateEllipticRgn(10, 0, 150, 70);
            SelectClipRgn(dc, clip);
            DeleteObject(clip);
            SetViewportOrgEx(dc, 7, 4, nullptr);
        }
        CHECK(Differences(mine, reference, w, h) == 0);
        DeleteDC(mine);
        DeleteDC(reference);
        DeleteObject(a);
        DeleteObject(b);
    }
    SUBCASE("a 16-bit surface, where brushes and copies would round differently")
    {
        HBITMAP a, b;
        HDC mine = DibDc(w, h, 16, a), reference = DibDc(w, h, 16, b);
        CHECK(Differences(mine, reference, w, h) == 0);
        DeleteDC(mine);
        DeleteDC(reference);
        DeleteObject(a);
        DeleteObject(b);
    }
}

TEST_CASE("the dialogs' strip figure by figure, and a single band")
{
    Canvas strip(60, 4);
    FillGradient(strip.dc(), true, RECT{0, 0, 55, 4}, 0x00FF7030, 0x00DDE7EC);
    CHECK(strip.at(0, 2) == 0x00FE6F2F);
    CHECK(strip.at(1, 2) == 0x00FD7132);
    CHECK(strip.at(54, 2) == 0x00DCE3E6);
    CHECK(strip.at(55, 2) == 0x00DCE5EA);  // on the exclusive right edge
    CHECK(strip.at(56, 2) == 0x00FF00FF);

    // A single band has no run to spread over: it takes the start colour.
    Canvas c(20, 10);
    FillGradient(c.dc(), true, RECT{4, 0, 4, 10}, 0x00FF0000, 0x000000FF);
    CHECK(c.at(4, 5) == 0x00FE0000);
    CHECK(c.at(3, 5) == 0x00FF00FF);
    CHECK(c.at(5, 5) == 0x00FF00FF);
}
