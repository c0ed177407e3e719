#include <doctest/doctest.h>

#include "platform/GradientBands.h"

TEST_CASE("the dialog strip's bands, figure by figure")
{
    // 56 columns over (0, 0, 55, h) from 0x00FF7030 to 0x00DDE7EC.
    CHECK(GradientBandColour(0x00FF7030, 0x00DDE7EC, 0, 55, 0) == 0x00FE6F2F);
    CHECK(GradientBandColour(0x00FF7030, 0x00DDE7EC, 0, 55, 1) == 0x00FD7132);
    CHECK(GradientBandColour(0x00FF7030, 0x00DDE7EC, 0, 55, 54) == 0x00DCE3E6);
    CHECK(GradientBandColour(0x00FF7030, 0x00DDE7EC, 0, 55, 55) == 0x00DCE5EA);
}

TEST_CASE("black to white over three bands: the tie 127.5 rounds to 128")
{
    CHECK(GradientBandColour(0, 0xFFFFFF, 10, 2, 10) == 0x000000);
    CHECK(GradientBandColour(0, 0xFFFFFF, 10, 2, 11) == 0x7E7E7E);
    CHECK(GradientBandColour(0, 0xFFFFFF, 10, 2, 12) == 0xFDFDFD);
}

TEST_CASE("weights add up to 255 and divide by 256")
{
    CHECK(((GradientBandColour(0x00FF0000, 0x00FF0000, 0, 10, 0) >> 16) & 0xFF) == 254);
    CHECK(GradientBandColour(0xFFFFFFFF, 0xFFFFFFFF, 0, 4, 2) == 0x00FEFEFE);  // top byte ignored
    // Offsets: only i - first matters.
    CHECK(GradientBandColour(0x00102030, 0x00C0B0A0, -7, 30, 5) == GradientBandColour(0x00102030, 0x00C0B0A0, 100, 30, 112));
}

TEST_CASE("a one-pixel rectangle has two bands, start and nearly end")
{
    CHECK(GradientBandColour(0, 0xFFFFFF, 3, 1, 3) == 0);
    CHECK(GradientBandColour(0, 0xFFFFFF, 3, 1, 4) == 0xFDFDFD);
}

TEST_CASE("a run of span 0 is the start band, not an undefined cast")
{
    CHECK(GradientBandColour(0x00FF7030, 0x00DDE7EC, 9, 0, 9) == 0x00FE6F2F);
    CHECK(GradientBandColour(0, 0xFFFFFF, -3, 0, -3) == 0);
}
