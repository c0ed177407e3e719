// The list editor's rules without windows: shortcut files, the names of
// dropped files and where a dragged row lands.
#include <doctest/doctest.h>

#include "dialogs/ItemListEditorText.h"

TEST_CASE("a shortcut is a .lnk file in any case, never a name that merely contains it")
{
    CHECK(IsShortcutPath("C:\\Users\\me\\Desktop\\メモ帳.lnk"));
    CHECK(IsShortcutPath("C:\\a\\B.LNK"));
    CHECK(IsShortcutPath("C:\\a\\b.Lnk"));
    CHECK_FALSE(IsShortcutPath("C:\\a\\b.lnk.txt"));
    CHECK_FALSE(IsShortcutPath("C:\\a\\lnk"));
    CHECK_FALSE(IsShortcutPath("C:\\a.lnk\\b"));  // the folder's dot is no extension
    CHECK_FALSE(IsShortcutPath("C:\\a\\b.lnkx"));
    CHECK_FALSE(IsShortcutPath(""));
}

TEST_CASE("a dropped file is named after itself without its extension")
{
    CHECK(DroppedItemName("C:\\docs\\readme.txt") == "readme");
    CHECK(DroppedItemName("C:\\docs\\メモ帳.lnk") == "メモ帳");
    CHECK(DroppedItemName("C:\\docs\\archive.tar.gz") == "archive.tar");
    CHECK(DroppedItemName("C:\\docs\\noext") == "noext");
    CHECK(DroppedItemName("C:\\表\\ソフト.exe") == "ソフト");  // trail bytes 0x5C are no delimiters
}

TEST_CASE("a drop lands on the row under the point, or on the last row below the rows")
{
    CHECK(DragTargetRow(0, 3) == 0);
    CHECK(DragTargetRow(2, 3) == 2);
    CHECK(DragTargetRow(-1, 3) == 2);
    CHECK(DragTargetRow(7, 3) == 2);
    CHECK(DragTargetRow(-1, 0) == -1);
    CHECK(DragTargetRow(0, 0) == -1);
}
