#include <doctest/doctest.h>

#include "menu/MenuPlacement.h"

namespace {
constexpr int kW = 180;
constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;
MenuOrigin Place(ScreenRect r, int h) { return PlaceMenu(r, kScreenW, kScreenH, kW, h); }
}  // namespace

TEST_CASE("the menu stands against the taskbar on each side of a 1024 x 768 screen")
{
    const int h = 142;  // five items: 20 * 7 + 2
    // Bottom: on top of it, right edge on the screen's right edge.
    CHECK(Place({0, 738, 1024, 768}, h) == MenuOrigin{844, 596});
    // Top: hanging below it.
    CHECK(Place({0, 0, 1024, 30}, h) == MenuOrigin{844, 30});
    // Left: beside it, bottom on the screen's bottom.
    CHECK(Place({0, 0, 60, 768}, h) == MenuOrigin{60, 768 - h});
    // Right: to its left.
    CHECK(Place({964, 0, 1024, 768}, h) == MenuOrigin{784, 768 - h});
}

TEST_CASE("no taskbar, or one that does not span the screen")
{
    // All zero: the top right corner.
    CHECK(Place({0, 0, 0, 0}, 42) == MenuOrigin{844, 0});
    // An upright bar that stops short of the bottom counts as a top bar.
    CHECK(Place({0, 0, 60, 700}, 42) == MenuOrigin{844, 700});
    // A side bar reaching past the screen's edges is still upright.
    CHECK(Place({-2, -2, 62, 770}, 42) == MenuOrigin{62, 768 - 42});
    CHECK(Place({962, -2, 1026, 770}, 42) == MenuOrigin{782, 768 - 42});
}

TEST_CASE("a menu taller than the screen is neither shrunk nor moved back on")
{
    const int h = 20 * 102 + 2;  // a hundred items
    CHECK(Place({0, 738, 1024, 768}, h).y == 738 - h);
    CHECK(Place({0, 738, 1024, 768}, h).y < 0);
    CHECK(Place({0, 0, 60, 768}, h) == MenuOrigin{60, 768 - h});
}
