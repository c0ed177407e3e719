#include <doctest/doctest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "core/CommandWindow.h"
#include "core/ItemCommands.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/ModulePath.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "tests/win/MenuTestSupport.h"

namespace {

std::vector<UINT> Identifiers(const std::vector<RecordedMenuEntry>& entries)
{
    std::vector<UINT> ids;
    for (const auto& e : entries)
        ids.push_back(e.identifier);
    return ids;
}

}  // namespace

TEST_CASE("the command window as created: class, styles, title, size, hidden")
{
    MenuFixture f;
    LaunchMenu.reset();
    DestroyWindow(CommandWindow);
    CreateCommandWindow();
    REQUIRE(IsWindow(CommandWindow));
    char cls[64] = {};
    GetClassNameA(CommandWindow, cls, sizeof cls);
    CHECK(std::string(cls) == "CLASS_LAUNCH");
    CHECK(GetClassLongPtrA(CommandWindow, GCL_STYLE) == (CS_VREDRAW | CS_HREDRAW));
    CHECK(GetClassLongPtrA(CommandWindow, GCLP_HBRBACKGROUND) == 15);
    CHECK(GetClassLongPtrA(CommandWindow, GCLP_HICON) != 0);
    CHECK((GetWindowLongA(CommandWindow, GWL_EXSTYLE) & 0x84) == 0x84);
    CHECK((GetWindowLongA(CommandWindow, GWL_STYLE) & (WS_POPUP | WS_CHILD | WS_CAPTION)) == WS_POPUP);
    CHECK(FindWindowA("CLASS_LAUNCH", "迅 -velocara-") == CommandWindow);
    CHECK(GetParent(CommandWindow) == nullptr);
    RECT r;
    GetWindowRect(CommandWindow, &r);
    CHECK(r.left == 0);
    CHECK(r.top == 0);
    CHECK(r.right - r.left == 200);
    CHECK(r.bottom - r.top == 450);
    CHECK_FALSE(IsWindowVisible(CommandWindow));

    SUBCASE("the launch menu is its child at (0, -2)")
    {
        f.Create(NumberedItems(2));
        char child[64] = {};
        GetClassNameA(f.Control(), child, sizeof child);
        CHECK(std::string(child) == "TvlcrLaunchMenu");
        CHECK(GetParent(f.Control()) == CommandWindow);
        POINT origin{0, 0};
        MapWindowPoints(f.Control(), CommandWindow, &origin, 1);
        CHECK(origin.x == 0);
        CHECK(origin.y == -2);
        CHECK(IsWindowEnabled(f.Control()));
        CHECK((GetWindowLongA(f.Control(), GWL_STYLE) & (WS_VISIBLE | WS_TABSTOP)) == (WS_VISIBLE | WS_TABSTOP));
    }
}

TEST_CASE("the command menu: entries, identifiers and order")
{
    SUBCASE("with an item row selected: ten entries")
    {
        UniqueMenu menu(BuildCommandMenu(true));
        const auto entries = MenuEntries(menu.get());
        CHECK(Identifiers(entries) == std::vector<UINT>{1, 2, 8, 0, 3, 4, 0, 6, 5, 7});
        REQUIRE(entries.size() == 10);
        CHECK(entries[0].text == "アイテムの編集(&E)");
        CHECK(entries[1].text == "削除(&D)");
        CHECK(entries[2].text == "ファイルの場所を開く(&L)");
        CHECK(entries[3].separator);
        CHECK(entries[4].text == "新規アイテム(&N)");
        CHECK(entries[5].text == "アイテムエディタ(&D)");
        CHECK(entries[6].separator);
        CHECK(entries[7].text == "オプション(&O)");
        CHECK(entries[8].text == "ヘルプ(&H)");
        CHECK(entries[9].text == "バージョン情報(&I)");
        // Plain enabled strings, no flags.
        for (UINT id : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u})
            CHECK(GetMenuState(menu.get(), id, MF_BYCOMMAND) == MF_STRING);
    }
    SUBCASE("for a target with no place on disk the location entry is greyed")
    {
        UniqueMenu menu(BuildCommandMenu(true, false));
        CHECK((GetMenuState(menu.get(), 8, MF_BYCOMMAND) & MF_GRAYED) != 0);
        CHECK(GetMenuState(menu.get(), 2, MF_BYCOMMAND) == MF_STRING);
    }
    SUBCASE("without: six entries, one separator")
    {
        UniqueMenu menu(BuildCommandMenu(false));
        const auto entries = MenuEntries(menu.get());
        CHECK(Identifiers(entries) == std::vector<UINT>{3, 4, 0, 6, 5, 7});
        REQUIRE(entries.size() == 6);
        CHECK(entries[0].text == "新規アイテム(&N)");
        CHECK(entries[2].separator);
        CHECK(entries[5].text == "バージョン情報(&I)");
    }
}

TEST_CASE("the command menu opens at the pointer, owned by the command window, and is destroyed after")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    ShowLaunchMenu();
    SetCursorPos(300, 200);
    POINT cursor;
    GetCursorPos(&cursor);
    PopupRecorder popups;
    ShowCommandMenu(true);
    REQUIRE(popups.popups().size() == 1);
    const RecordedPopup& p = popups.popups()[0];
    CHECK(p.flags == 0);
    CHECK(p.x == cursor.x);
    CHECK(p.y == cursor.y);
    CHECK(p.owner == CommandWindow);
    CHECK_FALSE(IsMenu(p.menu));
    CHECK(GetFocus() == f.Control());
}

TEST_CASE("the real popup menu appears and is closed without a person")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    ShowLaunchMenu();
    static bool sawMenu = false;
    sawMenu = false;
    // Inside the menu's own loop: look for its window, then close it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = FindWindowA("#32768", nullptr);
        sawMenu = popup && IsWindowVisible(popup);
        EndMenu();
    });
    ShowCommandMenu(false);
    KillTimer(nullptr, timer);
    CHECK(sawMenu);
    CHECK(GetFocus() == f.Control());
}

TEST_CASE("losing activation to another program closes the menu")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    SUBCASE("memory-saving mode off: the lists stay")
    {
        ShowLaunchMenu();
        SendMessageA(CommandWindow, WM_ACTIVATEAPP, 0x100, 0);  // only the low byte counts
        CHECK_FALSE(MenuShown);
        CHECK_FALSE(IsWindowVisible(CommandWindow));
        CHECK_FALSE(IsWindowVisible(MainWindow));
        CHECK(LaunchListsPresent());
    }
    SUBCASE("memory-saving mode on: the lists go")
    {
        Settings.ReloadItems = true;
        ShowLaunchMenu();
        SendMessageA(CommandWindow, WM_ACTIVATEAPP, 0, 0);
        CHECK_FALSE(MenuShown);
        CHECK_FALSE(LaunchListsPresent());
    }
    SUBCASE("while a dialog is open, or on activation, nothing happens")
    {
        ShowLaunchMenu();
        DialogShown = true;
        SendMessageA(CommandWindow, WM_ACTIVATEAPP, 0, 0);
        DialogShown = false;
        SendMessageA(CommandWindow, WM_ACTIVATEAPP, 1, 0);
        CHECK(MenuShown);
        CHECK(IsWindowVisible(CommandWindow));
    }
}

TEST_CASE("commands 1 to 8 reach their handlers, and the focus goes back to the menu")
{
    CHECK((ItemCommandFor(1) == &EditItemCommand));
    CHECK((ItemCommandFor(2) == &DeleteItemCommand));
    CHECK((ItemCommandFor(3) == &NewItemCommand));
    CHECK((ItemCommandFor(4) == &ItemListEditorCommand));
    CHECK((ItemCommandFor(5) == &HelpCommand));
    CHECK((ItemCommandFor(6) == &OptionsCommand));
    CHECK((ItemCommandFor(7) == &VersionInfoCommand));
    CHECK((ItemCommandFor(0) == nullptr));
    CHECK((ItemCommandFor(8) == &OpenLocationCommand));
    CHECK((ItemCommandFor(9) == nullptr));

    MenuFixture f;
    f.Create(NumberedItems(2));
    ShowLaunchMenu();
    // The help: relative while the current folder has the page (as the
    // program has always looked for it), else beside the executable.
    static std::vector<std::pair<HWND, std::string>> opened;
    opened.clear();
    const SeamOverride<ShellExecuteFunction> helpShell(ShellExecuteCall, [](HWND owner, LPCSTR verb, LPCSTR file,
                                                                            LPCSTR parameters, LPCSTR directory,
                                                                            INT show) -> HINSTANCE {
        CHECK(verb == nullptr);
        REQUIRE(parameters != nullptr);
        CHECK(std::string(parameters).empty());
        CHECK(directory == nullptr);
        CHECK(show == SW_SHOWNORMAL);
        opened.emplace_back(owner, file);
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    });
    char oldDir[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof oldDir, oldDir);
    TempFolder withHelp, without;
    CreateDirectoryA(withHelp.file("manual").c_str(), nullptr);
    WriteBytes(withHelp.file("manual\\index.html"), "<html></html>");
    for (const std::string& dir : {withHelp.path(), without.path()}) {
        SetCurrentDirectoryA(dir.c_str());
        SetFocus(CommandWindow);
        SendMessageA(CommandWindow, WM_COMMAND, MAKEWPARAM(5, 0), 0);
    }
    SetCurrentDirectoryA(oldDir);
    DeleteFileA(withHelp.file("manual\\index.html").c_str());
    RemoveDirectoryA(withHelp.file("manual").c_str());
    REQUIRE(opened.size() == 2);
    CHECK(opened[0].first == MainWindow);
    CHECK(opened[0].second == "manual\\index.html");
    CHECK(opened[1].second == ExecutableDirectory() + "manual\\index.html");
    ShellRecorder shell;
    CHECK(GetFocus() == f.Control());
    SetFocus(CommandWindow);
    SendMessageA(CommandWindow, WM_COMMAND, MAKEWPARAM(99, 0), 0);
    CHECK(shell.launches().empty());
    CHECK(GetFocus() == f.Control());
}

namespace {
std::vector<std::string> g_locations;
HRESULT WINAPI RecordLocation(PCIDLIST_ABSOLUTE folder, UINT, PCUITEMID_CHILD_ARRAY, DWORD)
{
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(folder, path);
    g_locations.emplace_back(path);
    return S_OK;
}
}  // namespace

TEST_CASE("ファイルの場所を開く: a file or folder is shown selected in Explorer; an address or a bare name has no place")
{
    CHECK(TargetHasLocation("C:\\windows\\notepad.exe"));
    CHECK(TargetHasLocation("\\\\server\\share\\tool.exe"));
    CHECK(TargetHasLocation("Tools\\tool.exe"));  // from the program's folder
    CHECK(TargetHasLocation("%WINDIR%\\notepad.exe"));
    CHECK_FALSE(TargetHasLocation("https://www.example.com/"));
    CHECK_FALSE(TargetHasLocation("mailto:someone@example.com"));
    CHECK_FALSE(TargetHasLocation("notepad.exe"));
    CHECK_FALSE(TargetHasLocation(""));

    MenuFixture f;
    auto items = NumberedItems(2);
    items[0].Target = "https://www.example.com/";
    items[1].Target = "C:\\windows\\notepad.exe";
    f.Create(items);
    ShowLaunchMenu();
    g_locations.clear();
    const SeamOverride<OpenFolderAndSelectFunction> seam(OpenFolderAndSelect, RecordLocation);
    for (int row : {0, 1}) {
        LaunchMenu->SetSelectedIndex(row);
        SendMessageA(CommandWindow, WM_COMMAND, 8, 0);
    }
    CHECK(g_locations.size() == 1);
    if (!g_locations.empty())
        CHECK(lstrcmpiA(g_locations[0].c_str(), "C:\\windows\\notepad.exe") == 0);
}
