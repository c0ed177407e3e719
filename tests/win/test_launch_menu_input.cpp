#include <doctest/doctest.h>
#include <windows.h>
#include <imm.h>

#include <new>

#include "core/CommandWindow.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "res/ResourceIds.h"
#include "tests/win/MenuTestSupport.h"

namespace {

HWND Menu() { return LaunchMenu->Handle(); }
void Key(WPARAM vk) { SendMessageA(Menu(), WM_KEYDOWN, vk, 0); }
void Char(char c) { SendMessageA(Menu(), WM_CHAR, static_cast<unsigned char>(c), 0); }
void Mouse(UINT message, int x, int y, WPARAM keys = 0)
{
    SendMessageA(Menu(), message, keys, MAKELPARAM(x, y));
}
int Y(int row) { return RowTop(row) + 10; }

std::vector<std::string> TargetsIn(const std::string& text)
{
    std::vector<std::string> targets;
    std::size_t at = text.find("\r\n", text.find("\r\n") + 2) + 2;  // past the magic and command lines
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        targets.push_back(text.substr(at, end - at));
        for (int skip = 0; skip < 5 && at < text.size(); ++skip)
            at = text.find("\r\n", at) + 2;
    }
    return targets;
}

}  // namespace

TEST_CASE("the arrow keys wrap both ways; Home, End and the page keys move as in a list")
{
    MenuFixture f;
    f.Create(NumberedItems(5));  // seven rows
    CHECK(LaunchMenu->SelectedIndex() == 0);
    Key(VK_UP);
    CHECK(LaunchMenu->SelectedIndex() == 6);
    Key(VK_DOWN);
    CHECK(LaunchMenu->SelectedIndex() == 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    CHECK(LaunchMenu->SelectedIndex() == 2);
    for (WPARAM k : {VK_LEFT, VK_RIGHT, VK_TAB})  // no folder row: nothing opens
        Key(k);
    CHECK(LaunchMenu->SelectedIndex() == 2);
    LaunchMenu->SetSelectedIndex(-1);
    Key(VK_DOWN);
    CHECK(LaunchMenu->SelectedIndex() == 0);
    LaunchMenu->SetSelectedIndex(-1);
    Key(VK_UP);
    CHECK(LaunchMenu->SelectedIndex() == 6);

    // Three rows shown of seven: a page moves two.
    LaunchMenu->LimitVisibleRows(3);
    Key(VK_HOME);
    CHECK(LaunchMenu->SelectedIndex() == 0);
    Key(VK_NEXT);
    CHECK(LaunchMenu->SelectedIndex() == 2);
    Key(VK_NEXT);
    CHECK(LaunchMenu->SelectedIndex() == 4);
    CHECK(LaunchMenu->FirstRow() == 2);
    Key(VK_END);
    CHECK(LaunchMenu->SelectedIndex() == 6);
    Key(VK_PRIOR);
    CHECK(LaunchMenu->SelectedIndex() == 4);
}

TEST_CASE("typing finds: the rows follow the text, Backspace shortens it, Escape clears it and then closes")
{
    MenuFixture f;
    std::vector<LaunchItem> items{{"C:\\Windows\\notepad.exe", "メモ帳", "", "N", ""},
                                  {"C:\\t\\calc.exe", "計算機", "", "", ""},
                                  {"C:\\t\\sum.exe", "Recalc sheet", "", "", ""},
                                  {"C:\\t\\tool.exe", "Calculator", "", "A", ""}};
    f.Create(items);
    ShowLaunchMenu();
    ShellRecorder shell;
    const auto captions = [] {
        std::vector<std::string> c;
        for (const MenuRow& row : LaunchMenu->Items())
            c.push_back(row.Caption);
        return c;
    };
    const auto height = [] {
        RECT r{};
        GetWindowRect(CommandWindow, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    // Either case; names and target file names that begin with it first, a
    // word's beginning next; the shortcut letter "a" is part of the text.
    for (char c : {'C', 'a', 'L'})
        Char(c);
    CHECK(shell.launches().empty());
    CHECK(captions() == std::vector<std::string>{" 検索: CaL", "計算機", "Calculator", "Recalc sheet", " キャンセル",
                                                 " 迅の終了"});
    CHECK(LaunchMenu->SelectedIndex() == 1);
    CHECK(height() == ControlHeight(6));  // the window follows the rows
    Key(VK_UP);  // over the text row to the last
    CHECK(LaunchMenu->SelectedIndex() == 5);
    Key(VK_HOME);
    CHECK(LaunchMenu->SelectedIndex() == 1);

    Char('x');
    CHECK(captions() == std::vector<std::string>{" 検索: CaLx", " （該当なし）", " キャンセル", " 迅の終了"});
    Key(VK_RETURN);  // nothing selected to launch
    CHECK(shell.launches().empty());
    CHECK(IsWindowVisible(CommandWindow));
    Char('\b');
    CHECK(LaunchMenu->SearchText() == "CaL");
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    REQUIRE(shell.launches().size() == 1);
    CHECK(shell.launches()[0].file == "C:\\t\\sum.exe");

    SUBCASE("Escape clears the search, a second one closes the menu")
    {
        ShowLaunchMenu();
        CHECK_FALSE(LaunchMenu->Searching());  // a new showing starts without one
        Char('m');
        Char('\b');  // emptied: the whole list again
        CHECK(LaunchMenu->RowCount() == 6);
        Char('t');
        Key(VK_ESCAPE);
        CHECK(captions().size() == 6);
        CHECK(IsWindowVisible(CommandWindow));
        Key(VK_ESCAPE);
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    SUBCASE("a shortcut letter with no search launches at once")
    {
        ShowLaunchMenu();
        Char('n');
        REQUIRE(shell.launches().size() == 2);
        CHECK(shell.launches()[1].file == "C:\\Windows\\notepad.exe");
    }
}

TEST_CASE("Enter launches the selected row, Escape hides and hands the foreground back, Apps opens the command menu")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    ShellRecorder shell;
    PopupRecorder popups;
    SUBCASE("Enter")
    {
        ShowLaunchMenu();
        Key(VK_DOWN);
        Key(VK_RETURN);
        REQUIRE(shell.launches().size() == 1);
        CHECK(shell.launches()[0].file == "C:\\t\\item1.exe");
        CHECK_FALSE(IsWindowVisible(CommandWindow));
        // With nothing selected it only closes the menu.
        ShowLaunchMenu();
        LaunchMenu->SetSelectedIndex(-1);
        Key(VK_RETURN);
        CHECK(shell.launches().size() == 1);
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    SUBCASE("Escape")
    {
        HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        ShowLaunchMenu();
        PreviousForeground = other;
        Key(VK_ESCAPE);
        CHECK_FALSE(IsWindowVisible(CommandWindow));
        CHECK(GetForegroundWindow() == other);
        CHECK(shell.launches().empty());
        DestroyWindow(other);
    }
    SUBCASE("Apps: with the item entries on an item row, without them on the cancel row")
    {
        ShowLaunchMenu();
        Key(VK_APPS);
        LaunchMenu->SetSelectedIndex(3);
        Key(VK_APPS);
        REQUIRE(popups.popups().size() == 2);
        CHECK(popups.popups()[0].entries.size() == 10);
        CHECK(popups.popups()[1].entries.size() == 6);
        CHECK(GetFocus() == Menu());
        CHECK(IsWindowVisible(CommandWindow));
    }
}

TEST_CASE("shortcut letters")
{
    MenuFixture f;
    auto items = NumberedItems(5);
    items[0].ShortCut = NoShortCut;
    items[2].ShortCut = "A";
    items[4].ShortCut = "A";
    items[3].ShortCut = "q";
    f.Create(items);
    ShowLaunchMenu();
    ShellRecorder shell;
    SUBCASE("upper-cased, the first row with the letter wins")
    {
        Char('a');
        REQUIRE(shell.launches().size() == 1);
        CHECK(shell.launches()[0].file == "C:\\t\\item2.exe");
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    SUBCASE("a lower-case stored letter, a NUL and the control characters leave the menu open and unchanged")
    {
        LaunchMenu->SetSelectedIndex(1);
        for (char c : {'\0', '\r', '\x1b', '\t', ' '})
            Char(c);
        CHECK_FALSE(LaunchMenu->Searching());
        Char('q');  // no item's letter ("q" is stored lower-case): a search
        CHECK(LaunchMenu->SearchText() == "q");
        LaunchMenu->EndSearch();
        CHECK(shell.launches().empty());
        CHECK(IsWindowVisible(CommandWindow));
        CHECK(LaunchMenu->SelectedIndex() == 1);
    }
    SUBCASE("nothing while the lists are released")
    {
        FreeLaunchLists();
        Char('a');
        CHECK(shell.launches().empty());
    }
    SUBCASE("with Ctrl latched or held, the letter's key still chooses its item; its control character does not")
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(Menu(), WM_KEYDOWN, 'A', 0x001E0001);
        Char('\x01');  // Ctrl+A's character
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
        SetKeyboardState(keys);
        REQUIRE(shell.launches().size() == 1);
        CHECK(shell.launches()[0].file == "C:\\t\\item2.exe");
    }
    SUBCASE("a double-byte character is one character and no letter, though its trail byte reads as one")
    {
        for (const char* text : {"ア", "ａ", "表"}) {  // 83 41, 82 81, 95 5C
            Char(text[0]);
            Char(text[1]);
        }
        SendMessageA(Menu(), WM_CHAR, 0x8341, 0);  // a pair in one message
        CHECK(shell.launches().empty());
        Char('a');  // and the next letter after a pair still counts
        REQUIRE(shell.launches().size() == 1);
        CHECK(shell.launches()[0].file == "C:\\t\\item2.exe");
    }
}

TEST_CASE("the menu keeps the input method off")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    CHECK(ImmGetContext(Menu()) == nullptr);
}

TEST_CASE("hovering selects the row under the pointer")
{
    MenuFixture f;
    f.Create(NumberedItems(3));  // five rows, 102 px
    Mouse(WM_MOUSEMOVE, 50, Y(2));
    CHECK(LaunchMenu->SelectedIndex() == 2);
    Mouse(WM_MOUSEMOVE, 50, 1);
    CHECK(LaunchMenu->SelectedIndex() == 0);
    Mouse(WM_MOUSEMOVE, 50, 150);  // below the rows, within twice the height
    CHECK(LaunchMenu->SelectedIndex() == 4);
    Mouse(WM_MOUSEMOVE, 50, 205);  // beyond twice the height
    CHECK(LaunchMenu->SelectedIndex() == -1);
    Mouse(WM_MOUSEMOVE, 50, -3);  // above, with the mouse captured
    CHECK(LaunchMenu->SelectedIndex() == -1);
}

TEST_CASE("a click chooses the row; a release outside the control hides the menu")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    ShellRecorder shell;
    SUBCASE("an item row")
    {
        ShowLaunchMenu();
        Mouse(WM_LBUTTONDOWN, 60, Y(1), MK_LBUTTON);
        Mouse(WM_LBUTTONUP, 60, Y(1));
        REQUIRE(shell.launches().size() == 1);
        CHECK(shell.launches()[0].file == "C:\\t\\item1.exe");
        CHECK_FALSE(IsWindowVisible(CommandWindow));
        CHECK(GetCapture() == nullptr);
    }
    SUBCASE("just below the last row: the quit row and its question")
    {
        ShowLaunchMenu();
        MessageBoxRecorder boxes(IDCANCEL);
        Mouse(WM_LBUTTONDOWN, 60, 101, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, 60, 120);
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text == "終了しますか？");
        CHECK(shell.launches().empty());
    }
    SUBCASE("outside, to the right or beyond twice the height")
    {
        for (POINT p : {POINT{kMenuWidth, Y(1)}, POINT{60, 300}, POINT{-4, Y(1)}}) {
            ShowLaunchMenu();
            Mouse(WM_LBUTTONDOWN, 60, Y(1), MK_LBUTTON);
            Mouse(WM_LBUTTONUP, p.x, p.y);
            CHECK_FALSE(IsWindowVisible(CommandWindow));
        }
        CHECK(shell.launches().empty());
    }
}

TEST_CASE("the right button opens the command menu unless the left one is down")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    ShowLaunchMenu();
    PopupRecorder popups;
    Mouse(WM_RBUTTONUP, 60, Y(1), MK_LBUTTON);
    CHECK(popups.popups().empty());
    Mouse(WM_RBUTTONUP, 60, Y(1));
    LaunchMenu->SetSelectedIndex(3);  // cancel
    Mouse(WM_RBUTTONUP, 60, Y(3));
    REQUIRE(popups.popups().size() == 2);
    CHECK(popups.popups()[0].entries.size() == 10);
    CHECK(popups.popups()[1].entries.size() == 6);
}

TEST_CASE("dragging an item row onto another reorders the list and saves it at once")
{
    MenuFixture f;
    f.Create(NumberedItems(5));
    ShowLaunchMenu();
    ShellRecorder shell;
    Mouse(WM_LBUTTONDOWN, 50, Y(0), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 55, Y(0), MK_LBUTTON);  // 5 px: not yet
    CHECK_FALSE(LaunchMenu->Dragging());
    Mouse(WM_MOUSEMOVE, 56, Y(0), MK_LBUTTON);
    REQUIRE(LaunchMenu->Dragging());
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    CHECK(GetCursor() != arrow);  // the drag cursor
    int w = 0, h = 0;
    CHECK(ImageList_GetImageCount(LaunchMenu->DragImages()) == 1);
    ImageList_GetIconSize(LaunchMenu->DragImages(), &w, &h);
    CHECK(w == kMenuWidth);
    CHECK(h == 20);
    Mouse(WM_MOUSEMOVE, 56, Y(3), MK_LBUTTON);
    CHECK(LaunchMenu->SelectedIndex() == 0);  // the selection stays while dragging
    Mouse(WM_LBUTTONUP, 56, Y(3));
    CHECK_FALSE(LaunchMenu->Dragging());
    CHECK(GetCursor() == arrow);
    CHECK(shell.launches().empty());
    CHECK(TargetsIn(f.ReadList()) ==
          std::vector<std::string>{"C:\\t\\item1.exe", "C:\\t\\item2.exe", "C:\\t\\item3.exe", "C:\\t\\item0.exe",
                                   "C:\\t\\item4.exe"});
    // The menu shows the new order.
    CHECK(LaunchMenu->Items()[3].Caption == "item0");
    CHECK(IsWindowVisible(CommandWindow));
}

TEST_CASE("drags that change nothing")
{
    MenuFixture f;
    // The old layout: any save rewrites it with the magic line.
    const std::string old = "\r\nC:\\a.exe\r\na\r\n\r\nA\r\nC:\\b.exe\r\nb\r\n\r\nB\r\nC:\\c.exe\r\nc\r\n\r\nC\r\n";
    f.Create(NumberedItems(0));
    WriteBytes(f.dir.file("Launch.ini"), old);
    LaunchMenu->RebuildItems();
    REQUIRE(LaunchMenu->RowCount() == 5);
    ShowLaunchMenu();
    ShellRecorder shell;
    auto drag = [](int fromRow, int toX, int toY, WPARAM upKeys) {
        Mouse(WM_LBUTTONDOWN, 50, Y(fromRow), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, 50, Y(fromRow) + 15, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, toX, toY, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, toX, toY, upKeys);
    };
    SUBCASE("onto the cancel or quit row, with the right button held, outside the control")
    {
        drag(0, 50, Y(4), 0);
        drag(0, 50, Y(3), 0);
        drag(0, 50, Y(2), MK_RBUTTON);
        drag(1, kMenuWidth + 20, Y(2), 0);
        drag(1, 50, 400, 0);
        CHECK(f.ReadList() == old);
        CHECK_FALSE(LaunchMenu->Dragging());
        CHECK(IsWindowVisible(CommandWindow));  // ending a drag outside does not close the menu
    }
    SUBCASE("a press on the cancel or quit row never starts a drag")
    {
        for (int row : {3, 4}) {
            Mouse(WM_LBUTTONDOWN, 50, Y(row), MK_LBUTTON);
            Mouse(WM_MOUSEMOVE, 150, Y(0), MK_LBUTTON);
            CHECK_FALSE(LaunchMenu->Dragging());
            Mouse(WM_LBUTTONUP, kMenuWidth + 5, Y(row));
        }
        CHECK(f.ReadList() == old);
    }
    SUBCASE("onto its own row: moved onto itself, saved and shown again")
    {
        drag(1, 50, Y(1), 0);
        CHECK(f.ReadList().rfind("VELOCARA_LAUNCHLIST_2\r\n", 0) == 0);
        CHECK(TargetsIn(f.ReadList()) == std::vector<std::string>{"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"});
    }
    SUBCASE("the capture taken away ends the drag where it is")
    {
        Mouse(WM_LBUTTONDOWN, 50, Y(0), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, 50, Y(2), MK_LBUTTON);
        REQUIRE(LaunchMenu->Dragging());
        ReleaseCapture();
        CHECK_FALSE(LaunchMenu->Dragging());
        CHECK(f.ReadList() == old);
    }
    CHECK(shell.launches().empty());
}

TEST_CASE("the drag image is the source row as it looks on screen")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    ShowLaunchMenu();
    UpdateWindow(Menu());
    Mouse(WM_LBUTTONDOWN, 50, Y(1), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 50, Y(1) + 8, MK_LBUTTON);
    REQUIRE(LaunchMenu->Dragging());
    Canvas image(kMenuWidth, 20);
    REQUIRE(ImageList_Draw(LaunchMenu->DragImages(), 0, image.dc(), 0, 0, ILD_NORMAL));
    Canvas expected(kMenuWidth, ControlHeight(5));
    PrintClient(Menu(), expected);
    int same = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < kMenuWidth - 1; ++x)
            same += image.at(x, y) == expected.at(x, RowTop(1) + y);
    CHECK(same == (kMenuWidth - 1) * 20);
    CHECK(expected.at(0, RowTop(1) + 10) == 0x00FFE6C8);  // it was the selected row
    Mouse(WM_LBUTTONUP, 50, 400);
    CHECK_FALSE(LaunchMenu->Dragging());
}

TEST_CASE("the drag cursor is the program's cursor resource: an arrow over a dotted frame, hot spot at the tip")
{
    const HCURSOR resource = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(VLCR_DRAG_CURSOR));
    REQUIRE(resource != nullptr);
    ICONINFO info{};
    REQUIRE(GetIconInfo(resource, &info));
    CHECK_FALSE(info.fIcon);
    CHECK(info.xHotspot == 0);
    CHECK(info.yHotspot == 0);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);

    // Drawn over magenta: black outline, white inside, the frame's dots by
    // turns, and the background through everywhere else.
    Canvas canvas(32, 32);
    REQUIRE(DrawIconEx(canvas.dc(), 0, 0, resource, 32, 32, 0, nullptr, DI_NORMAL));
    CHECK(canvas.at(0, 0) == 0x000000);
    CHECK(canvas.at(1, 2) == 0xFFFFFF);
    CHECK(canvas.at(10, 10) == 0x000000);
    CHECK(canvas.at(3, 12) == 0x00FF00FF);  // the gap inside the arrow's foot
    CHECK(canvas.at(20, 0) == 0x00FF00FF);
    CHECK(canvas.at(5, 19) == 0x000000);  // (5 + 19) even: a black dot
    CHECK(canvas.at(6, 19) == 0xFFFFFF);
    CHECK(canvas.at(10, 22) == 0xFFFFFF);
    CHECK(canvas.at(17, 25) == 0x000000);
    CHECK(canvas.at(18, 25) == 0x00FF00FF);
    CHECK(canvas.at(4, 22) == 0x00FF00FF);

    MenuFixture f;
    f.Create(NumberedItems(3));
    ShowLaunchMenu();
    Mouse(WM_LBUTTONDOWN, 50, Y(0), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 60, Y(1), MK_LBUTTON);
    REQUIRE(LaunchMenu->Dragging());
    CHECK(GetCursor() == resource);
    Mouse(WM_LBUTTONUP, 200, Y(1));
    CHECK(GetCursor() == LoadCursorA(nullptr, IDC_ARROW));
    ShowWindow(CommandWindow, SW_HIDE);
}

TEST_CASE("an error from what the menu asked for is shown as the error message, and the program goes on")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    MessageBoxRecorder boxes;
    ShowLaunchMenu();
    {
        const SeamOverride<ShellExecuteFunction> failing(
            ShellExecuteCall, [](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) -> HINSTANCE { throw std::bad_alloc(); });
        Key(VK_RETURN);
    }
    REQUIRE(boxes.boxes().size() == 1);
    CHECK_FALSE(boxes.boxes()[0].text.empty());
    CHECK(boxes.boxes()[0].caption == "迅 -velocara-");
    CHECK((boxes.boxes()[0].style & MB_ICONERROR) == MB_ICONERROR);
    CHECK(IsWindow(CommandWindow));
    CHECK(IsWindow(Menu()));
    ShellRecorder shell;
    Key(VK_RETURN);
    CHECK(shell.launches().size() == 1);
}

TEST_CASE("Ctrl+Shift with Enter or a click starts an item as administrator; plain ones do not")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    ShellRecorder shell;
    MessageBoxRecorder boxes(IDCANCEL);
    const auto hold = [](bool held) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_SHIFT] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    };
    ShowLaunchMenu();
    hold(true);
    Key(VK_RETURN);
    hold(false);
    ShowLaunchMenu();
    Mouse(WM_LBUTTONDOWN, 30, Y(1), MK_LBUTTON | MK_CONTROL | MK_SHIFT);
    Mouse(WM_LBUTTONUP, 30, Y(1), MK_CONTROL | MK_SHIFT);
    ShowLaunchMenu();
    Mouse(WM_LBUTTONDOWN, 30, Y(2), MK_LBUTTON | MK_CONTROL);
    Mouse(WM_LBUTTONUP, 30, Y(2), MK_CONTROL);  // Ctrl alone is no request
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(0);
    Key(VK_RETURN);
    REQUIRE(shell.launches().size() == 4);
    CHECK(shell.launches()[0].verb == "runas");
    CHECK(shell.launches()[0].file == "C:\\t\\item0.exe");
    CHECK(shell.launches()[1].verb == "runas");
    CHECK(shell.launches()[1].file == "C:\\t\\item1.exe");
    CHECK(shell.launches()[2].verbNull);
    CHECK(shell.launches()[3].verbNull);
    // The quit row ignores it: it asks, as ever.
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(4);
    hold(true);
    Key(VK_RETURN);
    hold(false);
    CHECK(boxes.boxes().size() == 1);
    CHECK(shell.launches().size() == 4);
}

TEST_CASE("a hand edit of Launch.ini is in the menu the next time it shows, and a drag saves it along")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    auto edited = NumberedItems(3);
    edited.push_back({"C:\\hand\\added.exe", "手で足した", "", "", ""});
    f.WriteList(edited);
    ShowLaunchMenu();
    REQUIRE(LaunchMenu->RowCount() == 6);
    CHECK(LaunchMenu->Items()[3].Caption == "手で足した");
    Mouse(WM_LBUTTONDOWN, 50, Y(0), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 50, Y(2), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 50, Y(2));
    CHECK(TargetsIn(f.ReadList()) == std::vector<std::string>{"C:\\t\\item1.exe", "C:\\t\\item2.exe",
                                                              "C:\\t\\item0.exe", "C:\\hand\\added.exe"});
    // A drag over rows of a list edited since they were shown moves nothing.
    f.WriteList(NumberedItems(2));
    Mouse(WM_LBUTTONDOWN, 50, Y(0), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 50, Y(1), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 50, Y(1));
    CHECK(f.ReadList() == LaunchText(NumberedItems(2)));
    CHECK(LaunchMenu->RowCount() == 4);
}
