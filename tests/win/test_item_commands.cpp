// The command menu's item commands: edit, delete and new item change the
// list, Launch.ini and the menu together; the version command opens the
// About dialog. With and without the memory-saving mode.
#include <doctest/doctest.h>

#include "controls/PlButton.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/ItemCommands.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "dialogs/ItemEditor.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

const std::vector<LaunchItem> kItems{
    {"C:\\windows\\notepad.exe", "メモ帳", "", "M", ""},
    {"C:\\windows\\regedit.exe", "レジストリ", "", "R", ""},
    {"C:\\tools\\表計算.exe", "表計算", "", "H", ""},
};

std::vector<std::string> RowCaptions()
{
    std::vector<std::string> captions;
    for (const MenuRow& row : LaunchMenu->Items())
        captions.push_back(row.Caption);
    return captions;
}

// The item editor, once shown: fill it, then OK or Cancel.
FormDriver::Step EditorStep(std::function<void(TfrmLchSet&)> fill, bool ok)
{
    return [fill = std::move(fill), ok](Form& f) {
        auto& editor = dynamic_cast<TfrmLchSet&>(f);
        fill(editor);
        if (ok)
            PostKey(editor.edtName, VK_RETURN);
        else
            ClickAt(editor.plButton1->Handle(), 5, 5);
    };
}

// A message box that answers as a person would after clicking another
// program first: the program loses activation while the box is open.
int ClickElsewhereThenOk(HWND, const char*, const char*, UINT)
{
    SendMessageA(CommandWindow, WM_ACTIVATEAPP, FALSE, 0);
    return IDOK;
}

}  // namespace

TEST_CASE("edit: OK saves the item and the menu shows it at once; Cancel changes nothing")
{
    for (const bool saving : {false, true}) {
        CAPTURE(saving);
        MenuFixture f;
        f.Create(kItems);
        Settings.ReloadItems = saving;
        ShowLaunchMenu();
        LaunchMenu->SetSelectedIndex(1);
        const std::string before = f.ReadList();
        {
            FormDriver driver({EditorStep([](TfrmLchSet& e) { SetControlText(e.edtName, "編集"); }, false)});
            EditItemCommand();
        }
        CHECK(f.ReadList() == before);
        {
            FormDriver driver({EditorStep([](TfrmLchSet& e) { SetControlText(e.edtName, "編集"); }, true)});
            EditItemCommand();
            CHECK_FALSE(driver.TimedOut());
        }
        CHECK(f.ReadList().find("\r\n編集\r\n") != std::string::npos);
        CHECK(RowCaptions()[1].find("編集") != std::string::npos);
        CHECK(MenuShown);
        CHECK_FALSE(DialogShown);
    }
}

TEST_CASE("delete asks with the row's caption; OK removes the item from list, file and menu")
{
    MenuFixture f;
    f.Create(kItems);
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(2);
    const std::string caption = RowCaptions()[2];
    const std::string before = f.ReadList();
    {
        MessageBoxRecorder boxes(IDCANCEL);
        DeleteItemCommand();
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text == caption + " を削除してもよろしいですか？");
        CHECK(boxes.boxes()[0].caption == "アイテムの削除");
        CHECK(boxes.boxes()[0].style == 0x31);
        CHECK(boxes.boxes()[0].owner == CommandWindow);
    }
    CHECK(f.ReadList() == before);
    CHECK(LaunchItemCount() == 3);
    {
        MessageBoxRecorder boxes(IDOK);
        DeleteItemCommand();
    }
    CHECK(LaunchItemCount() == 2);
    CHECK(f.ReadList().find("表計算") == std::string::npos);
    CHECK(LaunchMenu->RowCount() == 4);  // two items, cancel and quit
}

TEST_CASE("memory-saving mode: a click elsewhere while the delete box is open deletes the right item")
{
    MenuFixture f;
    f.Create(kItems);
    Settings.ReloadItems = true;
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(0);
    {
        const SeamOverride<MessageBoxFunction> box(ShowMessageBox, ClickElsewhereThenOk);
        DeleteItemCommand();
    }
    REQUIRE(LaunchListsPresent());
    CHECK(LaunchItemCount() == 2);
    CHECK(LaunchLists->NameList == std::vector<std::string>{"レジストリ", "表計算"});
    CHECK(f.ReadList().find("メモ帳") == std::string::npos);
}

TEST_CASE("new item: Cancel leaves list, file and menu as before; OK shows the new row at once")
{
    for (const bool saving : {false, true}) {
        CAPTURE(saving);
        MenuFixture f;
        f.Create(kItems);
        Settings.ReloadItems = saving;
        ShowLaunchMenu();
        const std::string before = f.ReadList();
        const auto rows = RowCaptions();
        {
            FormDriver driver(
                {EditorStep([](TfrmLchSet& e) { SetControlText(e.edtLaunch, "C:\\x.exe"); }, false)});
            NewItemCommand();
        }
        CHECK(f.ReadList() == before);
        CHECK(LaunchItemCount() == 3);
        CHECK(RowCaptions() == rows);
        {
            FormDriver driver({EditorStep(
                [](TfrmLchSet& e) {
                    SetControlText(e.edtLaunch, "C:\\tools\\grep.exe");
                    SetControlText(e.edtName, "グレップ");
                    SetControlText(e.edtShortCut, "G");
                },
                true)});
            NewItemCommand();
        }
        CHECK(LaunchItemCount() == 4);
        CHECK(LaunchLists->Item(3) == LaunchItem{"C:\\tools\\grep.exe", "グレップ", "", "G", ""});
        CHECK(f.ReadList().find("C:\\tools\\grep.exe\r\nグレップ\r\n") != std::string::npos);
        CHECK(LaunchMenu->RowCount() == 6);
        CHECK(RowCaptions()[3].find("グレップ") != std::string::npos);
        CHECK(GetFocus() == f.Control());
    }
}

TEST_CASE("a save that fails is reported and the list goes back to what the file holds")
{
    MenuFixture f;
    f.Create(kItems);
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(0);
    const std::string before = f.ReadList();
    MessageBoxRecorder boxes;
    HANDLE locked =
        CreateFileA(f.dir.file("Launch.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(locked != INVALID_HANDLE_VALUE);
    {
        FormDriver driver({EditorStep([](TfrmLchSet& e) { SetControlText(e.edtName, "失われる名前"); }, true)});
        EditItemCommand();
    }
    CloseHandle(locked);
    REQUIRE_FALSE(boxes.boxes().empty());
    CHECK(boxes.boxes()[0].text.find("を作成できません") != std::string::npos);
    CHECK(f.ReadList() == before);
    REQUIRE(LaunchListsPresent());
    CHECK(LaunchItemCount() == 3);
    CHECK(LaunchLists->NameList[0] == "メモ帳");
    CHECK(RowCaptions()[0].find("メモ帳") != std::string::npos);
}

TEST_CASE("edit and delete do nothing on the cancel and quit rows or an empty list")
{
    MessageBoxRecorder boxes;
    bool shown = false;
    const FormWatch cancelEach([&](Form& form) {
        shown = true;
        form.SetModalResult(mrCancel);
    });
    SUBCASE("cancel and quit rows")
    {
        MenuFixture f;
        f.Create(kItems);
        ShowLaunchMenu();
        for (const int row : {3, 4}) {
            LaunchMenu->SetSelectedIndex(row);
            EditItemCommand();
            DeleteItemCommand();
        }
        CHECK(LaunchItemCount() == 3);
    }
    SUBCASE("an empty list")
    {
        MenuFixture f;
        f.Create({});
        ShowLaunchMenu();
        LaunchMenu->SetSelectedIndex(0);
        EditItemCommand();
        DeleteItemCommand();
        CHECK(LaunchItemCount() == 0);
    }
    CHECK_FALSE(shown);
    CHECK(boxes.boxes().empty());
}

TEST_CASE("the version command shows the About dialog")
{
    MenuFixture f;
    f.Create(kItems);
    ShowLaunchMenu();
    std::string caption;
    bool flag = false;
    FormDriver driver({[&](Form& form) {
        caption = ControlText(form.Handle());
        flag = DialogShown;
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    }});
    SendMessageA(CommandWindow, WM_COMMAND, MAKEWPARAM(7, 0), 0);
    CHECK(caption == "迅 のバージョン情報");
    CHECK(flag);
    CHECK_FALSE(DialogShown);
    CHECK(IsWindowEnabled(CommandWindow));
}

TEST_CASE("a hand edit of Launch.ini while the program runs survives a new item, and a delete acts on nothing stale")
{
    MenuFixture f;
    f.Create(kItems);
    ShowLaunchMenu();
    // The user adds an item in a text editor.
    auto edited = kItems;
    edited.push_back({"C:\\hand\\added.exe", "手で足した", "", "", ""});
    f.WriteList(edited);
    {
        FormDriver driver({EditorStep(
            [](TfrmLchSet& e) {
                SetControlText(e.edtLaunch, "C:\\tools\\grep.exe");
                SetControlText(e.edtName, "グレップ");
            },
            true)});
        NewItemCommand();
    }
    const std::string saved = f.ReadList();
    CHECK(saved.find("C:\\hand\\added.exe\r\n手で足した") != std::string::npos);
    CHECK(saved.find("C:\\tools\\grep.exe\r\nグレップ") != std::string::npos);
    CHECK(LaunchItemCount() == 5);

    // Edited again behind the menu's back: the row chosen before is not the
    // one the file has there now, so the delete removes nothing and the menu
    // shows the file's list.
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(0);
    f.WriteList({{"C:\\other.exe", "別物", "", "", ""}});
    MessageBoxRecorder boxes(IDOK);
    DeleteItemCommand();
    CHECK(boxes.boxes().empty());
    CHECK(f.ReadList() == LaunchText({{"C:\\other.exe", "別物", "", "", ""}}));
    CHECK(LaunchMenu->RowCount() == 3);
}
