#include "platform/GradientBands.h"

#include <cmath>

Colour GradientBandColour(Colour start, Colour end, int first, int span, int i)
{
    // A run of one coordinate has no defined t (0 / 0); it gets the start
    // colour's band rather than whatever NaN would cast to.
    const double q = span == 0 ? 0.0 : static_cast<double>(i - first) / static_cast<double>(span);
    // nearbyint rounds ties to even in the default rounding mode.
    const auto t = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::nearbyint(q * 255.0)) & 0xFF);
    const std::uint32_t w = t * 255 / 256;
    const std::uint32_t u = 255 - w;
    Colour out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t s = (start >> shift) & 0xFF;
        const std::uint32_t e = (end >> shift) & 0xFF;
        out |= ((e * w + s * u) / 256) << shift;
    }
    return out;
}
