#include <doctest/doctest.h>
#include <windows.h>

#include "core/CommandWindow.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "menu/LaunchRow.h"
#include "tests/win/MenuTestSupport.h"

TEST_CASE("an item row goes to the shell, with empty strings rather than null, then the menu hides")
{
    MenuFixture f;
    auto items = NumberedItems(2);
    items[1] = {"C:\\ツール\\表示.exe", "表示", "--open \"a b\"", "H", "C:\\作業"};
    f.Create(items);
    ShowLaunchMenu();
    ShellRecorder shell;
    LaunchRow(0);
    LaunchRow(1);
    REQUIRE(shell.launches().size() == 2);
    const RecordedLaunch& empty = shell.launches()[0];
    CHECK(empty.owner == nullptr);
    CHECK(empty.verbNull);  // the file's default action
    CHECK(empty.file == "C:\\t\\item0.exe");
    CHECK_FALSE(empty.parametersNull);
    CHECK(empty.parameters.empty());
    CHECK_FALSE(empty.directoryNull);
    CHECK(empty.directory.empty());
    CHECK(empty.show == SW_SHOWNORMAL);
    CHECK(empty.menuVisible);  // handed to the shell first, hidden after
    const RecordedLaunch& full = shell.launches()[1];
    CHECK(full.file == "C:\\ツール\\表示.exe");
    CHECK(full.parameters == "--open \"a b\"");
    CHECK(full.directory == "C:\\作業");
    CHECK_FALSE(IsWindowVisible(CommandWindow));
    // The state ends with the menu, before any loss of activation is heard.
    CHECK_FALSE(MenuShown);
    // As administrator: the consent prompt is owned by the menu.
    ShowLaunchMenu();
    LaunchRow(0, true);
    REQUIRE(shell.launches().size() == 3);
    CHECK(shell.launches()[2].owner == CommandWindow);
    CHECK(shell.launches()[2].verb == "runas");
}

TEST_CASE("with no window to hand the foreground back to, the menu's state closes all the same")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    ShellRecorder shell;
    for (const bool saving : {false, true}) {
        CAPTURE(saving);
        Settings.ReloadItems = saving;
        // Nothing had the foreground before: the program keeps the activation
        // and hears of no loss of it.
        ShowLaunchMenu();
        PreviousForeground = nullptr;
        LaunchRow(0);
        CHECK_FALSE(MenuShown);
        CHECK(LaunchListsPresent() == !saving);
        // So the tray's right click opens the menu again at once.
        SendMessageA(MainWindow, kTrayCallbackMessage, 0, WM_RBUTTONUP);
        CHECK(MenuShown);
        CHECK(IsWindowVisible(CommandWindow));
        SendMessageA(f.Control(), WM_KEYDOWN, VK_ESCAPE, 0);
        CHECK_FALSE(MenuShown);
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    CHECK(shell.launches().size() == 2);
}

TEST_CASE("the cancel row, no selection and a selection beyond the rows only close the menu")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    ShellRecorder shell;
    MessageBoxRecorder boxes;
    for (int row : {2, -1, 4, 1000}) {
        ShowLaunchMenu();
        REQUIRE(IsWindowVisible(CommandWindow));
        LaunchRow(row);
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    CHECK(shell.launches().empty());
    CHECK(boxes.boxes().empty());
}

TEST_CASE("the quit row asks first: OK shuts down through the main window, Cancel leaves it running")
{
    MenuFixture f;
    f.Create(NumberedItems(1));
    ShowLaunchMenu();
    SUBCASE("Cancel")
    {
        MessageBoxRecorder boxes(IDCANCEL);
        LaunchRow(2);
        REQUIRE(boxes.boxes().size() == 1);
        const RecordedBox& b = boxes.boxes()[0];
        CHECK(b.owner == CommandWindow);
        CHECK(b.text == "終了しますか？");
        CHECK(b.caption == "迅 -velocara-");
        CHECK(b.style == 0x31);
        CHECK_FALSE(QuitFlag);
        CHECK(LaunchListsPresent());
        CHECK_FALSE(MenuShown);
    }
    SUBCASE("OK")
    {
        MessageBoxRecorder boxes(IDOK);
        LaunchRow(2);
        CHECK(boxes.boxes().size() == 1);
        // The main window did its shutdown before the send returned.
        CHECK(QuitFlag);
        CHECK_FALSE(LaunchListsPresent());
        MSG msg;
        CHECK(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // from its WM_DESTROY
    }
    CHECK_FALSE(IsWindowVisible(CommandWindow));
}

TEST_CASE("paths as users write them reach the shell expanded and resolved; Launch.ini keeps them as written")
{
    MenuFixture f;
    const ScopedEnvironment tools("VLCR_TOOLS", "D:\\Apps");
    auto items = NumberedItems(4);
    items[0] = {"%VLCR_TOOLS%\\x.exe", "x", "--in %VLCR_TOOLS%\\data", "", "%VLCR_TOOLS%"};
    items[1] = {"..\\Apps\\y.exe", "y", "", "", ".\\work"};
    items[2] = {"notepad.exe", "n", "", "", ""};
    items[3] = {"https://example.com/a\\b", "w", "", "", ""};
    f.Create(items);
    ShowLaunchMenu();
    ShellRecorder shell;
    for (int row = 0; row < 4; ++row)
        LaunchRow(row);
    REQUIRE(shell.launches().size() == 4);
    CHECK(shell.launches()[0].file == "D:\\Apps\\x.exe");
    CHECK(shell.launches()[0].parameters == "--in D:\\Apps\\data");
    CHECK(shell.launches()[0].directory == "D:\\Apps");
    // From the folder of the program (of Launch.ini), not the current one.
    const std::string folder = f.dir.path();
    const std::string parent = folder.substr(0, folder.rfind('\\', folder.size() - 2) + 1);
    CHECK(shell.launches()[1].file == parent + "Apps\\y.exe");
    CHECK(shell.launches()[1].directory == folder + "work");
    CHECK(shell.launches()[2].file == "notepad.exe");  // the system finds it
    CHECK(shell.launches()[3].file == "https://example.com/a\\b");
    CHECK(f.ReadList() == LaunchText(items));
}
