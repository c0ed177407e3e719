#include <doctest/doctest.h>

#include "menu/MenuPlacement.h"
#include "platform/TaskbarEdge.h"

namespace {
constexpr int kW = 180;
constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;
MenuOrigin Place(ScreenRect r, int h) { return PlaceMenu(r, {0, 0, kScreenW, kScreenH}, kW, h); }
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

TEST_CASE("on a second monitor the menu stands against that monitor's taskbar, inside it")
{
    // A 1280 x 1024 monitor to the right of the first, its top 100 px lower.
    const ScreenRect second{1024, 100, 2304, 1124};
    CHECK(PlaceMenu({1024, 1094, 2304, 1124}, second, kW, 142) == MenuOrigin{2124, 1094 - 142});
    CHECK(PlaceMenu({1024, 100, 2304, 130}, second, kW, 142) == MenuOrigin{2124, 130});
    CHECK(PlaceMenu({1024, 100, 1084, 1124}, second, kW, 142) == MenuOrigin{1084, 1124 - 142});
    CHECK(PlaceMenu({2244, 100, 2304, 1124}, second, kW, 142) == MenuOrigin{2064, 1124 - 142});
    // No taskbar there: that monitor's top right corner, not the first's.
    CHECK(PlaceMenu({0, 0, 0, 0}, second, kW, 42) == MenuOrigin{2124, 100});
}

TEST_CASE("a folder's menu opens beside its row, on its parent's side, flipping only at the work area's end")
{
    const ScreenRect work{0, 0, 1024, 738};
    const ScreenRect left{-1280, 0, 0, 1024};
    const struct {
        ScreenRect row;
        ScreenRect work;
        int width, height;
        bool leftward;  // the side the parent opened to
        SubmenuPlace want;
    } cases[] = {
        // Room on both sides: the parent's side.
        {{400, 300, 580, 320}, work, 200, 100, false, {{580, 300}, false}},
        {{400, 300, 580, 320}, work, 200, 100, true, {{200, 300}, true}},
        // The launch menu at the right edge: its folder opens to the left,
        // and that folder's subfolder goes on to the left, not back over it.
        {{844, 300, 1024, 320}, work, 200, 100, false, {{644, 300}, true}},
        {{644, 320, 844, 340}, work, 200, 100, true, {{444, 320}, true}},
        // Leftwards until the work area ends: there it flips.
        {{150, 320, 350, 340}, work, 200, 100, true, {{350, 320}, false}},
        // No room on either side: the side with more, inside the work area.
        {{300, 50, 700, 70}, work, 400, 100, false, {{624, 50}, false}},
        {{350, 50, 800, 70}, work, 400, 100, true, {{0, 50}, true}},
        // Too tall below the row: moved up to end on the work area's bottom,
        // and never above its top.
        {{844, 700, 1024, 720}, work, 200, 300, false, {{644, 438}, true}},
        {{844, 700, 1024, 720}, work, 200, 900, false, {{644, 0}, true}},
        // On a monitor left of the primary one the coordinates are negative.
        {{-1000, 50, -820, 70}, left, 200, 100, false, {{-820, 50}, false}},
        {{-180, 50, 0, 70}, left, 200, 100, false, {{-380, 50}, true}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.row.left);
        CAPTURE(c.leftward);
        CHECK(PlaceSubmenu(c.row, c.work, c.width, c.height, c.leftward) == c.want);
    }
}

TEST_CASE("the taskbar's side from the work area, or from a bar that hides itself")
{
    const ScreenRect screen{0, 0, kScreenW, kScreenH};
    // The work area leaves the bar's strip out, on whichever side.
    CHECK(BarFromWorkArea(screen, {0, 0, 1024, 738}) == ScreenRect{0, 738, 1024, 768});
    CHECK(BarFromWorkArea(screen, {60, 0, 1024, 768}) == ScreenRect{0, 0, 60, 768});
    CHECK(BarFromWorkArea(screen, {0, 30, 1024, 768}) == ScreenRect{0, 0, 1024, 30});
    CHECK(BarFromWorkArea(screen, {0, 0, 964, 768}) == ScreenRect{964, 0, 1024, 768});
    // Another docked bar besides: the widest cut is the taskbar's.
    CHECK(BarFromWorkArea(screen, {20, 0, 1024, 728}) == ScreenRect{0, 728, 1024, 768});
    CHECK(BarFromWorkArea(screen, screen).Empty());

    // Auto-hidden, all but 2 px off the bottom or the left: the menu stands
    // against that sliver, not at the top right.
    const ScreenRect hiddenBottom{0, 766, 1024, 814}, hiddenLeft{-58, 0, 2, 768};
    CHECK(BarReaches(hiddenBottom, screen));
    CHECK(BarReaches(hiddenLeft, screen));
    CHECK(PlaceMenu(hiddenBottom, screen, kW, 142) == MenuOrigin{844, 766 - 142});
    CHECK(PlaceMenu(hiddenLeft, screen, kW, 142) == MenuOrigin{2, 768 - 142});
    // A bar on a monitor beside this one, a window in the middle, none.
    CHECK_FALSE(BarReaches({1024, 738, 2304, 768}, screen));
    CHECK_FALSE(BarReaches({1024, 0, 1084, 768}, screen));
    CHECK_FALSE(BarReaches({100, 100, 300, 130}, screen));
    CHECK_FALSE(BarReaches({}, screen));
}
