#include <cstdint>
#include <vector>

#include "platform/WindowHelpers.h"

namespace {

// On a true-colour surface in plain device units, one band line copied over
// the rectangle's height (or width) gives exactly the pixels that one solid
// brush per band gives, in one call instead of three per band.
bool CanCopyBandLine(HDC dc)
{
    const DWORD type = GetObjectType(dc);
    if (type != OBJ_DC && type != OBJ_MEMDC)
        return false;
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE)
        return false;
    if (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)
        return false;
    int bits = 0;
    if (type == OBJ_MEMDC) {
        BITMAP bm{};
        if (!GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm))
            return false;
        bits = bm.bmBitsPixel * bm.bmPlanes;
    } else {
        bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    }
    return bits >= 24;
}

void FillBandsWithBrushes(HDC dc, bool horizontal, const RECT& rect, Colour startColour, Colour endColour,
                          int first, int last, int colourSpan)
{
    for (int i = first; i <= last; ++i) {
        const Colour c = GradientBandColour(startColour, endColour, first, colourSpan, i);
        const RECT band = horizontal ? RECT{i, rect.top, i + 1, rect.bottom} : RECT{rect.left, i, rect.right, i + 1};
        HBRUSH brush = CreateSolidBrush(c);
        if (!brush)
            continue;
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

}  // namespace

void FillGradient(HDC dc, bool horizontal, const RECT& rect, Colour startColour, Colour endColour)
{
    const int first = horizontal ? rect.left : rect.top;
    const int last = horizontal ? rect.right : rect.bottom;
    const int span = last - first;
    if (span < 0)
        return;
    // A single band has no run to spread over: it takes the start end.
    const int colourSpan = span == 0 ? 1 : span;
    const int across = horizontal ? rect.bottom - rect.top : rect.right - rect.left;
    if (across <= 0)
        return;  // no band would cover a pixel
    if (!CanCopyBandLine(dc)) {
        FillBandsWithBrushes(dc, horizontal, rect, startColour, endColour, first, last, colourSpan);
        return;
    }
    const int bands = span + 1;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(bands));
    for (int i = 0; i < bands; ++i) {
        const Colour c = GradientBandColour(startColour, endColour, first, colourSpan, first + i);
        // The DIB wants blue in the low byte.
        line[static_cast<std::size_t>(i)] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = horizontal ? bands : 1;
    info.bmiHeader.biHeight = -(horizontal ? 1 : bands);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int x = horizontal ? first : rect.left;
    const int y = horizontal ? rect.top : first;
    const int w = horizontal ? bands : across;
    const int h = horizontal ? across : bands;
    // Stretching a one-pixel line repeats it: no blending may take place.
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, w, h, 0, 0, info.bmiHeader.biWidth, horizontal ? 1 : bands, line.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}
