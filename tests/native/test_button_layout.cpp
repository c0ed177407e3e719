#include <doctest/doctest.h>

#include "controls/ButtonLayout.h"

namespace {

CaptionLines Lines(int height, bool a, bool b)
{
    CaptionLines lines;
    lines.height = height;
    lines.heightA = 12;
    lines.heightB = 12;
    lines.emptyA = !a;
    lines.emptyB = !b;
    return lines;
}

}  // namespace

TEST_CASE("one centred line in a 22-pixel button sits at 6 and is kept as the caption top")
{
    const CaptionTops tops = PlaceCaptionLines(Lines(22, true, false));
    CHECK(tops.first == 6);
    CHECK(tops.captionTop == 6);
}

TEST_CASE("a fixed caption top of 6 puts the line where centring did")
{
    CaptionLines lines = Lines(22, true, false);
    lines.vertCenter = false;
    lines.captionTop = 6;
    const CaptionTops tops = PlaceCaptionLines(lines);
    CHECK(tops.first == PlaceCaptionLines(Lines(22, true, false)).first);
    CHECK(tops.captionTop == 6);
}

TEST_CASE("two centred lines in 40 pixels with a spacing of 4 sit at 6 and 22")
{
    const CaptionTops tops = PlaceCaptionLines(Lines(40, true, true));
    CHECK(tops.first == 6);
    CHECK(tops.second == 22);
    CHECK(tops.captionTop == 6);
}

TEST_CASE("the second line alone is centred one pixel higher than the first would be")
{
    const CaptionTops onlyB = PlaceCaptionLines(Lines(22, false, true));
    CHECK(onlyB.second == 5);
    CHECK(onlyB.captionTop == 5);
    CHECK(PlaceCaptionLines(Lines(22, true, false)).first == onlyB.second + 1);
}

TEST_CASE("fixed lines follow the caption top and the spacing")
{
    CaptionLines lines = Lines(40, true, true);
    lines.vertCenter = false;
    lines.captionTop = 3;
    lines.lineSpace = 7;
    CaptionTops tops = PlaceCaptionLines(lines);
    CHECK(tops.first == 3);
    CHECK(tops.second == 3 + 12 + 7);
    CHECK(tops.captionTop == 3);

    lines.emptyA = true;  // the second line takes the first one's place
    tops = PlaceCaptionLines(lines);
    CHECK(tops.second == 3);
}

TEST_CASE("centring truncates toward zero when the text is taller than the button")
{
    CaptionLines lines = Lines(10, true, false);
    lines.heightA = 13;
    // (10 - 13) / 2 is -1 truncated (flooring would give -2), then + 1.
    CHECK(PlaceCaptionLines(lines).first == 0);
    lines.emptyB = false;
    lines.heightA = 12;
    lines.height = 17;
    // (17 - 24 - 4) / 2 = -11 / 2 = -5.
    CHECK(PlaceCaptionLines(lines).first == -5);
}

TEST_CASE("caption origins of the four alignments")
{
    CaptionOrigin o = PlaceCaption(TplBtnAlignment::taLeft, 3, 121, 5, 7);
    CHECK(o.anchor == TextAnchor::Left);
    CHECK(o.x == 7);
    o = PlaceCaption(TplBtnAlignment::taRight, 3, 121, 5, 7);
    CHECK(o.anchor == TextAnchor::Right);
    CHECK(o.x == 121 - 7 - 2);
    o = PlaceCaption(TplBtnAlignment::taCenter, 3, 121, 5, 7);
    CHECK(o.anchor == TextAnchor::Center);
    CHECK(o.x == 60);
    o = PlaceCaption(TplBtnAlignment::taEven, 4, 61, 3, 3);
    CHECK(o.alignment == TplBtnAlignment::taEven);
    CHECK(o.anchor == TextAnchor::Left);
    CHECK(o.x == 5);
    CHECK(o.available == 51);
}

TEST_CASE("one character spread evenly is drawn centred")
{
    const CaptionOrigin o = PlaceCaption(TplBtnAlignment::taEven, 1, 75, 10, 0);
    CHECK(o.alignment == TplBtnAlignment::taCenter);
    CHECK(o.anchor == TextAnchor::Center);
    CHECK(o.x == 37);
}

TEST_CASE("40 pixels of four characters over 51: gap 3, rest 2, gaps of 4, 4 and 3")
{
    const EvenSpacing s = SpreadEvenly(51, 40, 4);
    CHECK(s.gap == 3);
    CHECK(s.rest == 2);
    const std::vector<int> widths{10, 12, 8, 10};
    const std::vector<int> x = EvenCharacterPositions(2, widths, s);
    REQUIRE(x.size() == 4);
    CHECK(x[0] == 2);
    CHECK(x[1] - x[0] - widths[0] == 4);
    CHECK(x[2] - x[1] - widths[1] == 4);
    CHECK(x[3] - x[2] - widths[2] == 3);
    // The last character ends exactly at the available width.
    CHECK(x[3] + widths[3] == 2 + 51);
}

TEST_CASE("a caption wider than its room: negative gap and rest take pixels away")
{
    const EvenSpacing s = SpreadEvenly(30, 40, 4);
    CHECK(s.gap == -3);
    CHECK(s.rest == -1);
    const std::vector<int> widths{10, 10, 10, 10};
    const std::vector<int> x = EvenCharacterPositions(0, widths, s);
    REQUIRE(x.size() == 4);
    CHECK(x[1] - x[0] - 10 == -4);
    CHECK(x[2] - x[1] - 10 == -3);
    CHECK(x[3] - x[2] - 10 == -3);
    CHECK(x[3] + 10 == 30);
}

TEST_CASE("26 rows from white to 0x00C0C0C0")
{
    const std::vector<ButtonColour> rows = GradientRows(0x00FFFFFF, 0x00C0C0C0, 26);
    REQUIRE(rows.size() == 26);
    CHECK(rows[0] == 0x00FFFFFF);
    CHECK(rows[25] == 0x00C0C0C0);
    // 255 - 63 * 1 / 25: truncated toward zero is 253, flooring would be 252.
    CHECK(rows[1] == 0x00FDFDFD);
    for (std::size_t y = 1; y < rows.size(); ++y)
        CHECK((rows[y] & 0xFF) <= (rows[y - 1] & 0xFF));
}

TEST_CASE("each channel walks on its own, upwards as well as down")
{
    // Red rises, green falls, blue stays.
    CHECK(GradientRowColour(0x00400000, 0x0040FF00, 0, 3) == 0x00400000);
    CHECK(GradientRowColour(0x0040FF00, 0x004000FF, 1, 3) == 0x0040807F);  // 255 - 127, 0 + 127
    CHECK(GradientRowColour(0x0040FF00, 0x004000FF, 2, 3) == 0x004000FF);
    CHECK(GradientRowColour(0xFF000000, 0xFF000000, 0, 2) == 0);  // top byte ignored
}

TEST_CASE("a one-row face is the begin colour; no rows for a height of zero or less")
{
    const std::vector<ButtonColour> one = GradientRows(0x00123456, 0x00ABCDEF, 1);
    REQUIRE(one.size() == 1);
    CHECK(one[0] == 0x00123456);
    CHECK(GradientRows(0x00123456, 0x00ABCDEF, 0).empty());
    CHECK(GradientRows(0x00123456, 0x00ABCDEF, -5).empty());
}
