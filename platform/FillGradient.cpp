#include "platform/WindowHelpers.h"

void FillGradient(HDC dc, bool horizontal, const RECT& rect, Colour startColour, Colour endColour)
{
    const int first = horizontal ? rect.left : rect.top;
    const int last = horizontal ? rect.right : rect.bottom;
    const int span = last - first;
    if (span < 0)
        return;
    for (int i = first; i <= last; ++i) {
        const Colour c = GradientBandColour(startColour, endColour, first, span, i);
        const RECT band = horizontal ? RECT{i, rect.top, i + 1, rect.bottom} : RECT{rect.left, i, rect.right, i + 1};
        HBRUSH brush = CreateSolidBrush(c);
        if (!brush)
            continue;
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}
