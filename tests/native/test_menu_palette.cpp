#include <doctest/doctest.h>

#include "menu/MenuPalette.h"

TEST_CASE("menu palette: every dark role reads against what it is drawn on")
{
    const MenuPalette& d = DarkMenuPalette();
    struct Role {
        const char* name;
        Colour text, on;
        double least;
    };
    // Row text 7:1 on every body colour, the selected row 4.5:1 on its fill,
    // the greyed rows and the letters 4.5:1, the frame (the focus) 3:1.
    const Role roles[] = {
        {"caption on the background", d.captionText, d.rowBackground, 7.0},
        {"caption at the gradient's start", d.captionText, d.bodyStart, 7.0},
        {"caption at the gradient's end", d.captionText, d.bodyEnd, 7.0},
        {"caption on the icon column", d.captionText, d.iconColumnNormal, 7.0},
        {"fixed rows at the gradient's start", d.fixedRowCaption, d.bodyStart, 7.0},
        {"fixed rows at the gradient's end", d.fixedRowCaption, d.bodyEnd, 7.0},
        {"selected caption on the frame's fill", d.captionText, d.frameFill, 4.5},
        {"greyed caption at the gradient's start", d.greyedCaption, d.bodyStart, 4.5},
        {"greyed caption at the gradient's end", d.greyedCaption, d.bodyEnd, 4.5},
        {"letter on the left band", d.letterNormal, d.leftColumnNormal, 4.5},
        {"selected letter on the selected band", d.letterSelected, d.leftColumnSelected, 4.5},
        {"frame against the background", d.frameOutline, d.rowBackground, 3.0},
        {"frame against its fill", d.frameOutline, d.frameFill, 3.0},
    };
    for (const Role& r : roles) {
        CAPTURE(r.name);
        CHECK(ContrastRatio(r.text, r.on) >= r.least);
    }
    // The shadow lies behind the selected caption: darker than the fill.
    CHECK(RelativeLuminance(d.captionShadow) < RelativeLuminance(d.frameFill));
}

TEST_CASE("menu palette: the contrast ratio as WCAG defines it")
{
    CHECK(ContrastRatio(0x00FFFFFF, 0x00000000) == doctest::Approx(21.0));
    CHECK(ContrastRatio(0x00777777, 0x00777777) == doctest::Approx(1.0));
    CHECK(ContrastRatio(0x00767676, 0x00FFFFFF) == doctest::Approx(4.54).epsilon(0.01));
    // Blue weighs least: pure blue on black is far below pure green on black.
    CHECK(ContrastRatio(0x00FF0000, 0) < ContrastRatio(0x0000FF00, 0));
}

TEST_CASE("menu palette: the setting and the taskbar's theme choose the look")
{
    CHECK(MenuThemeFromValue(0) == MenuThemeChoice::Automatic);
    CHECK(MenuThemeFromValue(1) == MenuThemeChoice::Light);
    CHECK(MenuThemeFromValue(2) == MenuThemeChoice::Dark);
    CHECK(MenuThemeFromValue(3) == MenuThemeChoice::Automatic);
    CHECK(MenuThemeFromValue(0xFFFFFFFF) == MenuThemeChoice::Automatic);
    CHECK_FALSE(DarkMenus(MenuThemeChoice::Automatic, true));
    CHECK(DarkMenus(MenuThemeChoice::Automatic, false));
    CHECK_FALSE(DarkMenus(MenuThemeChoice::Light, false));
    CHECK(DarkMenus(MenuThemeChoice::Dark, true));
    CHECK(LightMenuPalette().rowBackground == 0x00FFFFFF);
}
