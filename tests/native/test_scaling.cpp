#include <doctest/doctest.h>

#include "menu/MenuModel.h"
#include "platform/Scaling.h"

TEST_CASE("a 96-DPI length scales with MulDiv's rounding and comes back")
{
    CHECK(Scale(20, 96) == 20);
    CHECK(Scale(20, 120) == 25);
    CHECK(Scale(20, 144) == 30);
    CHECK(Scale(20, 192) == 40);
    CHECK(Scale(1, 144) == 2);    // 1.5: halves away from zero
    CHECK(Scale(1, 120) == 1);    // 1.25
    CHECK(Scale(-12, 144) == -18);  // font heights are negative
    CHECK(Scale(-1, 144) == -2);
    CHECK(Scale(2, 110) == 2);   // 2.29
    for (int dpi : {96, 120, 144, 168, 192, 240})
        for (int length : {0, 1, 2, 5, 6, 20, 55, 180, 560, -12})
            CHECK(Scale(Unscale(Scale(length, dpi), dpi), dpi) == Scale(length, dpi));
}

TEST_CASE("the menu's rows meet without gaps and fit the screen at every scaling")
{
    CHECK(MenuGeometryFor(96, 16) == MenuGeometry{});  // 96 DPI is the geometry as it always was
    for (int dpi : {96, 110, 120, 144, 168, 192}) {
        CAPTURE(dpi);
        const MenuGeometry g = MenuGeometryFor(dpi, Scale(16, dpi));
        CHECK(g.width == Scale(180, dpi));
        // Each row starts where the one above ends: one scaled height each.
        for (int row = 0; row < 60; ++row)
            CHECK(g.RowTop(row + 1) - g.RowTop(row) == g.rowHeight);
        CHECK(g.ControlHeight(7) == g.RowTop(7));
        // The icon and the selection shift stay inside their row and column.
        const RowLook normal = DescribeRow(false, true, true, g);
        const RowLook selected = DescribeRow(true, true, true, g);
        CHECK(normal.iconX + g.iconSize <= g.iconColumnRight);
        CHECK(selected.iconX >= g.leftColumnRight);
        CHECK(normal.iconY + g.iconSize <= g.rowHeight);
        CHECK(selected.captionX < normal.captionX);
        CHECK(RowAtPoint(static_cast<unsigned>(g.RowTop(3)), g.ControlHeight(7), g) == 3);
        CHECK(RowAtPoint(static_cast<unsigned>(g.RowTop(3) - 1), g.ControlHeight(7), g) == 2);
        // A 768-pixel work area holds as many whole rows as fit, never none.
        const int rows = g.RowsThatFit(768);
        CHECK(g.ControlHeight(rows) <= 768);
        CHECK(g.ControlHeight(rows + 1) > 768);
        CHECK(g.RowsThatFit(3) == 1);
    }
}
