// The colour of each band of the two-colour gradient, as plain arithmetic.
#pragma once
#include <cstdint>

// Colours are 0x00BBGGRR; the top byte is ignored.
using Colour = std::uint32_t;

// Band at coordinate i of a run from `first` to `first + span` (span >= 0):
// t = round-half-even((i - first) / span * 255), w = t * 255 div 256,
// u = 255 - w, channel = (end * w + start * u) div 256. The weights add up
// to 255 and the sum is divided by 256, so most bands are a little dark.
// A run of span 0 is one band of t = 0.
Colour GradientBandColour(Colour start, Colour end, int first, int span, int i);
