#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>

#include "core/ProgramWindows.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "menu/MenuPalette.h"
#include "platform/GradientBands.h"
#include "tests/win/MenuTestSupport.h"

namespace {

// Pixels of one row of the painted control, in the row's own coordinates.
struct Row {
    const Canvas& c;
    int top;
    COLORREF at(int x, int y) const { return c.at(x, top + y); }
    int count(RECT r, COLORREF colour) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += at(x, y) == colour;
        return n;
    }
    int countNot(RECT r, COLORREF colour) const { return (r.right - r.left) * (r.bottom - r.top) - count(r, colour); }
    bool all(RECT r, COLORREF colour) const { return countNot(r, colour) == 0; }
    // Leftmost column in r holding `colour`, or -1.
    int leftmost(RECT r, COLORREF colour) const
    {
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                if (at(x, y) == colour)
                    return x;
        return -1;
    }
};

Row RowOf(const Canvas& c, int row) { return Row{c, RowTop(row)}; }

Colour Body(int left, int x) { return GradientBandColour(0x00FFFFFF, 0x00D7F2DE, left, kMenuWidth - 1 - left, x); }

// The body gradient, checked on the pixel rows that no text reaches.
bool GradientBody(const Row& r, int left)
{
    for (int y : {0, 1, 2, 17, 18, 19})
        for (int x = left; x < kMenuWidth; ++x)
            if (r.at(x, y) != Body(left, x))
                return false;
    return true;
}

// The left column outside the shortcut letter's place.
bool LeftColumn(const Row& r, COLORREF colour)
{
    return r.all({0, 0, 20, 4}, colour) && r.all({0, 17, 20, 20}, colour) && r.all({0, 0, 10, 20}, colour);
}

constexpr RECT kLetterBox{10, 4, 20, 17};

}  // namespace

TEST_CASE("rows without icons, not selected and selected")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    auto items = NumberedItems(3);
    items[1].Name = "メモ帳";
    f.Create(items);
    LaunchMenu->SetSelectedIndex(0);
    Canvas c(kMenuWidth, ControlHeight(5));
    PrintClient(f.Control(), c);

    SUBCASE("the two pixels above row 0 are the white background")
    {
        CHECK(RowOf(c, 0).all({0, -2, kMenuWidth, 0}, 0x00FFFFFF));
    }
    SUBCASE("not selected: left column, gradient body from x 20 to W - 1, letter, caption at x 23")
    {
        const Row r = RowOf(c, 1);
        CHECK(LeftColumn(r, 0x00C8E6FF));
        CHECK(GradientBody(r, 20));
        CHECK(r.count(kLetterBox, 0x003264AA) > 5);
        CHECK(r.count({0, 0, 20, 20}, 0x00AA6432) == 0);
        const int black = r.count({20, 3, kMenuWidth, 18}, 0x00000000);
        CHECK(black > 30);
        CHECK(r.leftmost({20, 0, kMenuWidth, 20}, 0x00000000) >= 23);
        CHECK(r.leftmost({20, 0, kMenuWidth, 20}, 0x00000000) < 30);
    }
    SUBCASE("selected: frame outline and fill, caption with its shadow one pixel down and right")
    {
        const Row r = RowOf(c, 0);
        CHECK(LeftColumn(r, 0x00FFE6C8));
        CHECK(r.count(kLetterBox, 0x00AA6432) > 5);
        // Outline on x 20 and x W - 2, y 0 and y 19; the last column stays white.
        CHECK(r.all({20, 0, 21, 20}, 0x00643214));
        CHECK(r.all({178, 0, 179, 20}, 0x00643214));
        CHECK(r.all({20, 0, 179, 1}, 0x00643214));
        CHECK(r.all({20, 19, 179, 20}, 0x00643214));
        CHECK(r.all({179, 0, 180, 20}, 0x00FFFFFF));
        CHECK(r.all({21, 1, 178, 3}, 0x00FFE3D7));
        CHECK(r.all({21, 17, 178, 19}, 0x00FFE3D7));
        CHECK(r.all({120, 1, 178, 19}, 0x00FFE3D7));  // beyond the caption
        const int black = r.leftmost({21, 1, 178, 19}, 0x00000000);
        const int shadow = r.leftmost({21, 1, 178, 19}, 0x00F0B9AA);
        CHECK(black >= 22);
        CHECK(shadow == black + 1);
    }
}

TEST_CASE("the selected caption's shadow lies where the caption rests when not selected")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    auto items = NumberedItems(2);
    items[0].Name = items[1].Name = "迅速テスト";
    f.Create(items);
    LaunchMenu->SetSelectedIndex(0);
    Canvas c(kMenuWidth, ControlHeight(4));
    PrintClient(f.Control(), c);
    const Row selected = RowOf(c, 0);
    const Row resting = RowOf(c, 1);
    int checked = 0, matched = 0, raised = 0;
    for (int y = 1; y < 19; ++y)
        for (int x = 21; x < 178; ++x) {
            if (resting.at(x, y) != 0x00000000)
                continue;
            ++checked;
            // Under the shadow, or under the raised caption that covers it.
            const COLORREF s = selected.at(x, y);
            matched += s == 0x00F0B9AA || s == 0x00000000;
            raised += selected.at(x - 1, y - 1) == 0x00000000;
        }
    CHECK(checked > 30);
    CHECK(matched == checked);
    CHECK(raised == checked);
}

TEST_CASE("rows with icons: icon column, icons from the strip with transparent surroundings")
{
    MenuFixture f;
    auto items = NumberedItems(3);
    f.Create(items);
    IconStrip = MakeTestStrip(5);
    LaunchMenu->SetShowIcons(true);
    LaunchMenu->SetSelectedIndex(0);
    Canvas c(kMenuWidth, ControlHeight(5));
    PrintClient(f.Control(), c);

    SUBCASE("not selected: icon at (23, 2) over the icon column, gradient from x 40, caption from 41")
    {
        const Row r = RowOf(c, 1);
        CHECK(LeftColumn(r, 0x00C8E6FF));
        CHECK(r.all({23 + 5, 2 + 5, 23 + 11, 2 + 11}, StripColour(1)));
        CHECK(r.at(23 + 2, 2 + 2) == 0x00000000);  // the mask's opaque black pixel
        // Everything else in the cell is transparent: the icon column shows.
        CHECK(r.at(23, 2) == 0x00E6F5FF);
        CHECK(r.at(23 + 15, 2 + 15) == 0x00E6F5FF);
        CHECK(r.at(23 + 4, 2 + 4) == 0x00E6F5FF);
        CHECK(r.all({20, 0, 40, 2}, 0x00E6F5FF));
        CHECK(r.all({20, 18, 40, 20}, 0x00E6F5FF));
        CHECK(r.all({20, 0, 23, 20}, 0x00E6F5FF));
        CHECK(GradientBody(r, 40));
        CHECK(r.leftmost({40, 0, kMenuWidth, 20}, 0x00000000) >= 41);
        CHECK(r.count({40, 3, kMenuWidth, 18}, 0x00000000) > 10);
    }
    SUBCASE("selected: icon at (22, 1) inside the frame, caption from 40")
    {
        const Row r = RowOf(c, 0);
        CHECK(r.all({22 + 5, 1 + 5, 22 + 11, 1 + 11}, StripColour(0)));
        CHECK(r.at(22 + 2, 1 + 2) == 0x00000000);
        CHECK(r.at(22, 1) == 0x00FFE3D7);
        CHECK(r.at(22 + 15, 1 + 15) == 0x00FFE3D7);
        CHECK(r.all({20, 0, 21, 20}, 0x00643214));
        CHECK(r.leftmost({39, 1, 178, 19}, 0x00000000) >= 40);
        CHECK(r.leftmost({39, 1, 178, 19}, 0x00F0B9AA) >= 41);
    }
    SUBCASE("the fixed rows take their own cells")
    {
        CHECK(RowOf(c, 3).all({23 + 5, 2 + 5, 23 + 11, 2 + 11}, StripColour(3)));
        CHECK(RowOf(c, 4).all({23 + 5, 2 + 5, 23 + 11, 2 + 11}, StripColour(4)));
    }
    SUBCASE("no strip: the icon column stays empty and drawing goes on")
    {
        DeleteObject(IconStrip);
        IconStrip = nullptr;
        Canvas bare(kMenuWidth, ControlHeight(5));
        PrintClient(f.Control(), bare);
        const Row r = RowOf(bare, 1);
        CHECK(r.all({20, 0, 40, 20}, 0x00E6F5FF));
        CHECK(GradientBody(r, 40));
        CHECK(r.count({40, 3, kMenuWidth, 18}, 0x00000000) > 10);
    }
}

TEST_CASE("the cancel and quit rows")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    SUBCASE("an empty list: two rows, 42 px, both captions dark green, no letter")
    {
        f.Create({});
        REQUIRE(LaunchMenu->RowCount() == 2);
        CHECK(LaunchMenu->Items()[0].Caption == " キャンセル");
        CHECK(LaunchMenu->Items()[1].Caption == " 迅の終了");
        RECT rc;
        GetClientRect(f.Control(), &rc);
        CHECK(rc.bottom == 42);
        LaunchMenu->SetSelectedIndex(-1);
        Canvas c(kMenuWidth, 42);
        PrintClient(f.Control(), c);
        for (int row : {0, 1}) {
            const Row r = RowOf(c, row);
            CHECK(r.all({0, 0, 20, 20}, 0x00C8E6FF));
            CHECK(r.count({20, 0, kMenuWidth, 20}, 0x0000321E) > 30);
            CHECK(r.count({20, 0, kMenuWidth, 20}, 0x00000000) == 0);
            CHECK(GradientBody(r, 20));
        }
    }
    SUBCASE("selected, the quit row's caption is black with its shadow")
    {
        f.Create(NumberedItems(1));
        LaunchMenu->SetSelectedIndex(2);
        Canvas c(kMenuWidth, ControlHeight(3));
        PrintClient(f.Control(), c);
        const Row r = RowOf(c, 2);
        CHECK(r.count({21, 1, 178, 19}, 0x0000321E) == 0);
        CHECK(r.count({21, 1, 178, 19}, 0x00000000) > 30);
        CHECK(r.count({21, 1, 178, 19}, 0x00F0B9AA) > 5);
        CHECK(r.all({0, 0, 20, 20}, 0x00FFE6C8));
    }
}

TEST_CASE("letters: none for an item without one, at (10, 4) in both states otherwise")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    auto items = NumberedItems(2);
    items[0].ShortCut = NoShortCut;
    items[1].ShortCut = "W";
    f.Create(items);
    for (int selected : {0, 1}) {
        LaunchMenu->SetSelectedIndex(selected);
        Canvas c(kMenuWidth, ControlHeight(4));
        PrintClient(f.Control(), c);
        const COLORREF left0 = selected == 0 ? 0x00FFE6C8 : 0x00C8E6FF;
        const COLORREF left1 = selected == 1 ? 0x00FFE6C8 : 0x00C8E6FF;
        const COLORREF letter1 = selected == 1 ? 0x00AA6432 : 0x003264AA;
        CHECK(RowOf(c, 0).all({0, 0, 20, 20}, left0));
        const Row r = RowOf(c, 1);
        CHECK(r.count(kLetterBox, letter1) > 5);
        CHECK(r.leftmost({0, 0, 20, 20}, letter1) >= 10);
        CHECK(r.all({0, 0, 20, 4}, left1));
    }
}

TEST_CASE("the double-click command's row is bold: the first match, ignoring case the locale's way")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    auto items = NumberedItems(4);
    for (auto& i : items)
        i.Name = "同じ名前 Same";
    items[1].Target = "C:\\Tools\\Edit.exe";
    items[2].Target = "c:\\tools\\edit.EXE";
    f.Create(items, "C:\\TOOLS\\EDIT.EXE");
    CHECK(LaunchMenu->DefaultIndex() == 1);
    LaunchMenu->SetSelectedIndex(-1);
    Canvas c(kMenuWidth, ControlHeight(6));
    PrintClient(f.Control(), c);
    // Ink: caption pixels that are not the body's gradient.
    auto ink = [&](int row) {
        const Row r = RowOf(c, row);
        int n = 0;
        for (int y = 3; y < 18; ++y)
            for (int x = 20; x < kMenuWidth; ++x)
                n += r.at(x, y) != Body(20, x);
        return n;
    };
    const int plain = ink(0);
    CHECK(plain > 30);
    CHECK(ink(1) > plain + plain / 5);
    CHECK(ink(2) == plain);
    CHECK(ink(3) == plain);

    SUBCASE("double-byte characters whose trail bytes differ like letters are not the same")
    {
        // ア is 83 41 and ヂ is 83 61: a byte-wise fold would take them as equal.
        items[1].Target = "C:\\ア.exe";
        items[2].Target = "C:\\ヂ.exe";
        f.WriteList(items, "C:\\ヂ.EXE");
        LaunchMenu->RebuildItems();
        CHECK(LaunchMenu->DefaultIndex() == 2);
    }
    SUBCASE("no double-click command: no row is bold, even one with an empty target")
    {
        items[0].Target = "";
        f.WriteList(items, "");
        LaunchMenu->RebuildItems();
        CHECK(LaunchMenu->DefaultIndex() == -1);
    }
}

TEST_CASE("the selection: clamping, and a rebuild that leaves it beyond the rows")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    f.Create(NumberedItems(3));
    CHECK(LaunchMenu->SelectedIndex() == 0);  // row 0 the first time
    LaunchMenu->SetSelectedIndex(1000);
    CHECK(LaunchMenu->SelectedIndex() == 4);
    LaunchMenu->SetSelectedIndex(-5);
    CHECK(LaunchMenu->SelectedIndex() == -1);

    LaunchMenu->SetSelectedIndex(3);
    f.WriteList(NumberedItems(0));
    LaunchMenu->RebuildItems();
    CHECK(LaunchMenu->RowCount() == 2);
    CHECK(LaunchMenu->SelectedIndex() == 3);
    Canvas c(kMenuWidth, ControlHeight(2));
    PrintClient(f.Control(), c);
    CHECK(RowOf(c, 0).all({0, 0, 20, 20}, 0x00C8E6FF));
    CHECK(RowOf(c, 1).all({0, 0, 20, 20}, 0x00C8E6FF));
    // Drawing the stale row, as a selection change does, is harmless.
    LaunchMenu->DrawRow(3);
    LaunchMenu->SetSelectedIndex(0);
    CHECK(LaunchMenu->SelectedIndex() == 0);
}

TEST_CASE("a resize makes the row bitmap as wide as the control")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    f.Create(NumberedItems(1));
    SetWindowPos(f.Control(), nullptr, 0, 0, 250, ControlHeight(3), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LaunchMenu->SetSelectedIndex(-1);
    Canvas c(250, ControlHeight(3));
    PrintClient(f.Control(), c);
    const Row r = RowOf(c, 0);
    for (int x : {20, 100, 200, 248, 249})
        CHECK(r.at(x, 0) == GradientBandColour(0x00FFFFFF, 0x00D7F2DE, 20, 229, x));
}

TEST_CASE("a change of selection redraws the two rows concerned and no other")
{
    MenuFixture f;
    Settings.ListIconVisible = false;
    f.Create(NumberedItems(4));
    ShowLaunchMenu();
    UpdateWindow(f.Control());
    HDC dc = GetDC(f.Control());
    // Mark every row; what is redrawn loses its mark.
    HBRUSH marker = CreateSolidBrush(0x00FF00FF);
    for (int row = 0; row < 6; ++row) {
        const RECT mark{150, RowTop(row) + 8, 160, RowTop(row) + 12};
        FillRect(dc, &mark, marker);
    }
    DeleteObject(marker);
    GdiFlush();
    LaunchMenu->SetSelectedIndex(2);
    GdiFlush();
    for (int row = 0; row < 6; ++row) {
        const bool redrawn = row == 0 || row == 2;
        CHECK_MESSAGE((GetPixel(dc, 155, RowTop(row) + 10) != 0x00FF00FF) == redrawn, "row ", row);
    }
    ReleaseDC(f.Control(), dc);
}

TEST_CASE("a dark taskbar darkens the menu; the setting message turns it light again, and the choice overrides both")
{
    constexpr const char* kPersonalize = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    const bool had = UserValueExists(kPersonalize, "SystemUsesLightTheme");
    const DWORD was = had ? GetUserDword(kPersonalize, "SystemUsesLightTheme") : 1;
    MenuFixture f;
    Settings.ListIconVisible = false;
    f.Create(NumberedItems(3));
    LaunchMenu->SetSelectedIndex(0);
    const auto settingChanged = [] {
        SendMessageA(MainWindow, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("ImmersiveColorSet"));
    };
    const auto luminance = [&](int row, int x, int y) {
        Canvas c(kMenuWidth, ControlHeight(5));
        PrintClient(f.Control(), c);
        return RelativeLuminance(c.at(x, RowTop(row) + y));
    };

    SetUserDword(kPersonalize, "SystemUsesLightTheme", 0);
    settingChanged();
    const double darkBody = luminance(1, 60, 1), darkFill = luminance(0, 150, 2);
    double captionOnBody = 0;  // the brightest pixel of row 1's caption against the body
    {
        Canvas c(kMenuWidth, ControlHeight(5));
        PrintClient(f.Control(), c);
        const COLORREF body = c.at(60, RowTop(1) + 1);
        for (int y = 3; y < 18; ++y)
            for (int x = 23; x < 120; ++x)
                captionOnBody = std::max(captionOnBody, ContrastRatio(c.at(x, RowTop(1) + y), body));
    }
    SetUserDword(kPersonalize, "SystemUsesLightTheme", 1);
    settingChanged();
    const double lightBody = luminance(1, 60, 1);
    Settings.MenuTheme = 2;  // ダーク, whatever the taskbar
    const double chosenDark = luminance(1, 60, 1);
    SetUserDword(kPersonalize, "SystemUsesLightTheme", 0);
    settingChanged();
    Settings.MenuTheme = 1;  // ライト, whatever the taskbar
    const double chosenLight = luminance(1, 60, 1);
    Settings.MenuTheme = 0;
    SetUserDword(kPersonalize, "SystemUsesLightTheme", was);
    settingChanged();

    CHECK(darkBody < 0.05);
    CHECK(darkFill < 0.1);
    CHECK(captionOnBody >= 7.0);
    CHECK(lightBody > 0.9);  // the Parts' white, as before
    CHECK(chosenDark < 0.05);
    CHECK(chosenLight > 0.9);
}
