#include <doctest/doctest.h>

#include <cctype>

#include "core/store/LaunchList.h"
#include "menu/MenuModel.h"

namespace {
bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
}  // namespace

TEST_CASE("rows: the items in order, then cancel and quit")
{
    const auto rows = BuildMenuRows({"メモ帳", "電卓"});
    REQUIRE(rows.size() == 4);
    CHECK(rows[0] == MenuRow{"メモ帳", 0});
    CHECK(rows[1] == MenuRow{"電卓", 1});
    CHECK(rows[2] == MenuRow{" キャンセル", -2});
    CHECK(rows[3] == MenuRow{" 迅の終了", -3});

    const auto empty = BuildMenuRows({});
    REQUIRE(empty.size() == 2);
    CHECK(empty[0].Ref == kCancelRef);
    CHECK(empty[1].Ref == kQuitRef);
    CHECK(ControlHeight(static_cast<int>(empty.size())) == 42);
}

TEST_CASE("the default row: first target equal to the double-click command")
{
    const std::vector<std::string> targets{"C:\\a.exe", "C:\\Tools\\Edit.EXE", "c:\\tools\\edit.exe"};
    CHECK(FindDefaultIndex(targets, "c:\\TOOLS\\edit.exe", AsciiEqualIgnoringCase) == 1);
    CHECK(FindDefaultIndex(targets, "C:\\b.exe", AsciiEqualIgnoringCase) == -1);
    CHECK(FindDefaultIndex(targets, "C:\\a.exe --x", AsciiEqualIgnoringCase) == -1);
    // No command: an item with an empty target is not made the default.
    CHECK(FindDefaultIndex({"", "C:\\a.exe"}, "", AsciiEqualIgnoringCase) == -1);
    CHECK(FindDefaultIndex({}, "C:\\a.exe", AsciiEqualIgnoringCase) == -1);
}

TEST_CASE("the row under the pointer")
{
    const int h = ControlHeight(7);  // 142
    CHECK(RowAtPoint(0, h) == 0);
    CHECK(RowAtPoint(1, h) == 0);
    CHECK(RowAtPoint(21, h) == 0);
    CHECK(RowAtPoint(22, h) == 1);
    CHECK(RowAtPoint(141, h) == 6);
    // Below the control but within twice its height: rows past the last.
    CHECK(RowAtPoint(142, h) == 7);
    CHECK(RowAtPoint(284, h) == 14);
    CHECK(RowAtPoint(285, h) == -1);
    // Above the control, a negative y arrives as a large unsigned half.
    CHECK(RowAtPoint(65535, h) == -1);
    CHECK(RowAtPoint(65535 - 5, h) == -1);
}

TEST_CASE("selection: clamping and the arrows' wrap-around")
{
    CHECK(ClampSelectedIndex(1000, 5) == 4);
    CHECK(ClampSelectedIndex(-5, 5) == -1);
    CHECK(ClampSelectedIndex(-1, 5) == -1);
    CHECK(ClampSelectedIndex(0, 5) == 0);
    CHECK(ClampSelectedIndex(4, 5) == 4);
    CHECK(ClampSelectedIndex(5, 5) == 4);

    // Seven rows.
    CHECK(RowAbove(0, 7) == 6);
    CHECK(RowAbove(3, 7) == 2);
    CHECK(RowBelow(6, 7) == 0);
    CHECK(RowBelow(2, 7) == 3);
    CHECK(RowBelow(-1, 7) == 0);
    CHECK(RowAbove(-1, 7) == 6);
    // A selection left beyond the rows by a rebuild.
    CHECK(RowBelow(9, 7) == 0);
    CHECK(RowAbove(9, 7) == 8);

    CHECK(IsItemRow(0, 7));
    CHECK(IsItemRow(4, 7));
    CHECK_FALSE(IsItemRow(5, 7));  // cancel
    CHECK_FALSE(IsItemRow(6, 7));  // quit
    CHECK_FALSE(IsItemRow(-1, 7));
    CHECK_FALSE(IsItemRow(0, 2));  // no items
}

TEST_CASE("Home, End and the page keys: a page less one row, stopping at either end")
{
    // 60 rows, 20 of them shown.
    CHECK(RowForPageKey(PageKey::Home, 30, 60, 20) == 0);
    CHECK(RowForPageKey(PageKey::End, 3, 60, 20) == 59);
    CHECK(RowForPageKey(PageKey::PageDown, 0, 60, 20) == 19);
    CHECK(RowForPageKey(PageKey::PageDown, 50, 60, 20) == 59);
    CHECK(RowForPageKey(PageKey::PageUp, 30, 60, 20) == 11);
    CHECK(RowForPageKey(PageKey::PageUp, 5, 60, 20) == 0);
    // No selection, a one-row page, a selection left beyond the rows, no rows.
    CHECK(RowForPageKey(PageKey::PageUp, -1, 60, 20) == 0);
    CHECK(RowForPageKey(PageKey::PageDown, 4, 60, 1) == 5);
    CHECK(RowForPageKey(PageKey::PageUp, 80, 60, 20) == 59);
    CHECK(RowForPageKey(PageKey::End, 0, 0, 20) == -1);
}

TEST_CASE("the drag threshold: 5 px is not enough, 6 px is")
{
    CHECK_FALSE(PastDragThreshold(50, 30, 55, 30));
    CHECK_FALSE(PastDragThreshold(50, 30, 45, 35));
    CHECK(PastDragThreshold(50, 30, 56, 30));
    CHECK(PastDragThreshold(50, 30, 44, 30));
    CHECK(PastDragThreshold(50, 30, 50, 36));
    CHECK(PastDragThreshold(50, 30, 50, 24));
    // Outside the control with the mouse captured: a huge unsigned half.
    CHECK(PastDragThreshold(50, 30, 65530, 30));
}

TEST_CASE("shortcut letters")
{
    const auto rows = BuildMenuRows({"a", "b", "c", "d", "e"});
    std::vector<std::string> keys{"X", NoShortCut, "A", "q", "A"};

    SUBCASE("the typed letter is upper-cased, and the first row with it wins")
    {
        CHECK(FindShortcutRow(rows, keys, 'a') == 2);
        CHECK(FindShortcutRow(rows, keys, 'A') == 2);
        CHECK(FindShortcutRow(rows, keys, 'x') == 0);
    }
    SUBCASE("a letter stored in lower case never matches")
    {
        CHECK(FindShortcutRow(rows, keys, 'q') == -1);
        CHECK(FindShortcutRow(rows, keys, 'Q') == -1);
    }
    SUBCASE("nobody's letter, and the NUL that stands for no letter")
    {
        CHECK(FindShortcutRow(rows, keys, 'z') == -1);
        CHECK(FindShortcutRow(rows, keys, '\0') == -1);
    }
    SUBCASE("only a-z change case; other characters compare as they are")
    {
        keys[1] = "1";
        keys[3] = "\xB1";  // half-width katakana A in cp932
        CHECK(FindShortcutRow(rows, keys, '1') == 1);
        CHECK(FindShortcutRow(rows, keys, '\xB1') == 3);
        keys[0] = "[";
        CHECK(FindShortcutRow(rows, keys, '{') == -1);
    }
    SUBCASE("the fixed rows and rows beyond the list never match")
    {
        const auto few = BuildMenuRows({"a", "b"});
        CHECK(FindShortcutRow(few, {"A"}, 'a') == 0);
        CHECK(FindShortcutRow(few, {NoShortCut, "A"}, 'a') == 1);
        CHECK(FindShortcutRow(BuildMenuRows({}), {"A"}, 'a') == -1);
        // Rows built from a longer list than the one now loaded.
        CHECK(FindShortcutRow(few, {NoShortCut}, 'a') == -1);
    }
}

TEST_CASE("typed bytes: a lead byte and its trail byte are one character, never a letter")
{
    TypedBytes typed;
    CHECK(typed.Take('a', IsCp932LeadByte) == 'a');
    CHECK_FALSE(typed.Take(0x83, IsCp932LeadByte).has_value());  // ア = 83 41
    CHECK_FALSE(typed.Take(0x41, IsCp932LeadByte).has_value());
    CHECK(typed.Take(0x41, IsCp932LeadByte) == 'A');
    CHECK_FALSE(typed.Take(0x95, IsCp932LeadByte).has_value());  // 表 = 95 5C
    CHECK_FALSE(typed.Take(0x5C, IsCp932LeadByte).has_value());
    CHECK(typed.Take(0xB1, IsCp932LeadByte) == static_cast<char>(0xB1));  // half-width kana: one byte
    CHECK(typed.Take('z', IsCp932LeadByte) == 'z');
}
