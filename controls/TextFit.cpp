#include "controls/TextFit.h"

#include <algorithm>

Span GrownToNeed(Span span, int need, bool rightAligned, int floor, int ceiling)
{
    const int missing = Shortfall(span, need);
    if (missing == 0)
        return span;
    if (rightAligned)
        span.left = std::max(std::min(span.left, floor), span.left - missing);
    else
        span.right = std::min(std::max(span.right, ceiling), span.right + missing);
    return span;
}

int Shortfall(Span span, int need) { return std::max(0, need - span.Width()); }

Span Widened(Span span, int at, int dx)
{
    if (span.left >= at)
        return Span{span.left + dx, span.right + dx};
    if (span.right > at)
        return Span{span.left, span.right + dx};
    return span;
}

int UnscaledUp(int pixels, int dpi)
{
    if (dpi <= 0)
        return pixels;
    return (pixels * 96 + dpi - 1) / dpi;
}
