// The item list editor driven through its real modal loop: rows and hint
// rows, the popup menu, edit, delete, add, rename, drag, dropped files, the
// view styles, Close against Cancel, resizing and the help.
#include <doctest/doctest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "controls/PlButton.h"
#include "core/BusyFlags.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "dialogs/ItemEditor.h"
#include "dialogs/ItemListEditor.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"
#include "platform/ShellHelpers.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

const std::vector<LaunchItem> kThree{
    {"C:\\windows\\notepad.exe", "メモ帳", "/a", "M", "C:\\work"},
    {"C:\\windows", "レジストリ", "", "R", ""},
    {"http://example.com/", "表サイト", "", "", ""},
};

// A Launch.ini folder of the test's own and the list in memory.
struct ListFixture {
    explicit ListFixture(const std::vector<LaunchItem>& items, const std::string& dblClick = "")
    {
        LaunchFileDirectory = dir.path();
        CreateLaunchLists();
        for (const LaunchItem& item : items)
            LaunchLists->Append(item);
        DblClickCommand = dblClick;
        DialogShown = false;
    }
    ~ListFixture()
    {
        LaunchFileDirectory.clear();
        FreeLaunchLists();
        DblClickCommand.clear();
    }
    std::string FileText() const { return FileExists(dir.file("Launch.ini")) ? ReadBytes(dir.file("Launch.ini")) : ""; }
    TempFolder dir;
};

std::vector<std::string> Names() { return LaunchLists->NameList; }

std::string CellText(HWND list, int row, int column)
{
    char text[512] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::string> Captions(HWND list)
{
    std::vector<std::string> captions;
    for (int i = 0; i < RowCount(list); ++i)
        captions.push_back(CellText(list, i, 0));
    return captions;
}

int SelectedCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

POINT RowCenter(HWND list, int row)
{
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int ImageOf(HWND list, int row)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

// A row across all its columns, in the list's client coordinates.
RECT RowBounds(HWND list, int row)
{
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r;
}

// The list as it paints itself, background and custom drawing included.
void PrintList(HWND list, const PixelCanvas& canvas)
{
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
}

void ClickRow(HWND list, int row)
{
    const POINT p = RowCenter(list, row);
    ClickAt(list, p.x, p.y);
}

// A drag as the mouse makes it: press on a row, move beyond the drag
// distance (the list view starts the drag), then move and release wherever
// the mouse is held now.
void DragRow(HWND list, int row, POINT dropInList)
{
    const POINT from = RowCenter(list, row);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x, from.y + 12));
    HWND capture = GetCapture();
    REQUIRE(capture == GetParent(list));
    POINT to = dropInList;
    MapWindowPoints(list, capture, &to, 1);
    SendMessageA(capture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageA(capture, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

// The popup menu answered by the test, its entries recorded.
struct PopupAnswer {
    UINT answer = 0;
    std::vector<std::vector<RecordedMenuEntry>> shown;
    std::vector<UINT> defaults;
    std::vector<std::vector<bool>> checks;
};
PopupAnswer* g_popup = nullptr;

BOOL WINAPI AnswerPopup(HMENU menu, UINT flags, int, int, int, HWND, const RECT*)
{
    REQUIRE((flags & TPM_RETURNCMD) != 0);
    g_popup->shown.push_back(MenuEntries(menu));
    g_popup->defaults.push_back(GetMenuDefaultItem(menu, FALSE, 0));
    std::vector<bool> checked;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        checked.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0);
    g_popup->checks.push_back(checked);
    return static_cast<BOOL>(g_popup->answer);
}

class PopupRecorderFor {
public:
    PopupRecorderFor() { g_popup = &record; }
    ~PopupRecorderFor() { g_popup = nullptr; }
    PopupAnswer record;

private:
    const SeamOverride<TrackPopupMenuFunction> seam_{TrackPopup, AnswerPopup};
};

std::vector<std::string> EntryTexts(const std::vector<RecordedMenuEntry>& entries)
{
    std::vector<std::string> texts;
    for (const RecordedMenuEntry& e : entries)
        texts.push_back(e.separator ? "-" : e.text);
    return texts;
}

// Posted, not sent: the list view watches the button from a loop of its own
// and finds the release in the queue.
void RightClick(HWND list, POINT p)
{
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}



// The nested item editor, once shown: fill it, then OK or Cancel.
void FinishEditor(Form& f, const char* target, bool ok)
{
    auto& editor = dynamic_cast<TfrmLchSet&>(f);
    if (target)
        SetControlText(editor.edtLaunch, target);
    if (ok)
        PostKey(editor.edtName, VK_RETURN);
    else
        ClickAt(editor.plButton1->Handle(), 5, 5);
}

TfrmItemListEditor& Editor(Form& f) { return dynamic_cast<TfrmItemListEditor&>(f); }

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

std::vector<std::string>* g_opened = nullptr;
HINSTANCE WINAPI RecordShell(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_opened->push_back(file ? file : "<null>");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

}  // namespace

TEST_CASE("list editor: form, list view, columns and buttons as designed; image lists shared")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    RECT client;
    GetClientRect(form.Handle(), &client);
    CHECK(client.right == 570);
    CHECK(client.bottom == 280);
    CHECK(ControlText(form.Handle()) == "アイテムエディタ");
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_STYLE));
    CHECK((style & WS_THICKFRAME) != 0);
    CHECK((style & WS_MAXIMIZEBOX) != 0);
    CHECK((style & WS_MINIMIZEBOX) != 0);
    CheckChildRect(form.lvList, 0, 0, 570, 238);
    CheckChildRect(form.btnClose, 440, 253, 123, 22);
    CheckChildRect(form.plButton1->Handle(), 104, 253, 121, 22);
    CheckChildRect(form.plButton2->Handle(), 8, 253, 89, 22);
    CHECK(ControlText(form.btnClose) == "閉じる(&C)");
    CHECK(form.plButton1->CaptionA().Caption() == "キャンセル");
    CHECK(form.plButton2->CaptionA().Caption() == "ヘルプ");

    const auto lvStyle = static_cast<DWORD>(GetWindowLongPtrA(form.lvList, GWL_STYLE));
    CHECK((lvStyle & LVS_SHAREIMAGELISTS) != 0);  // Windows would destroy the system's lists otherwise
    CHECK((lvStyle & LVS_EDITLABELS) != 0);
    CHECK((lvStyle & LVS_NOSORTHEADER) != 0);
    CHECK((lvStyle & LVS_SINGLESEL) != 0);
    CHECK((GetWindowLongPtrA(form.lvList, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0);
    CHECK((SendMessageA(form.lvList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT) != 0);
    CHECK(SendMessageA(form.lvList, LVM_GETVIEW, 0, 0) == LV_VIEW_DETAILS);

    const char* headers[] = {"表示名", "起動ファイル名", "コマンドライン引数", "ショートカット", "作業ディレクトリ"};
    const int widths[] = {150, 240, 110, 50, 150};
    for (int i = 0; i < 5; ++i) {
        CAPTURE(i);
        char text[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        REQUIRE(SendMessageA(form.lvList, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
        CHECK(std::string(text) == headers[i]);
        // As designed where the header fits, else as wide as the header.
        const auto header = static_cast<int>(
            SendMessageA(form.lvList, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(headers[i])));
        if (header + 12 <= widths[i])
            CHECK(column.cx == widths[i]);
        else
            CHECK(column.cx >= header + 12);
    }

    SHFILEINFOA info{};
    const auto small =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    const auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    CHECK(SendMessageA(form.lvList, LVM_GETIMAGELIST, LVSIL_SMALL, 0) == reinterpret_cast<LRESULT>(small));
    CHECK(SendMessageA(form.lvList, LVM_GETIMAGELIST, LVSIL_NORMAL, 0) == reinterpret_cast<LRESULT>(large));

    // Tab order: the list, 閉じる, キャンセル, ヘルプ.
    CHECK(GetNextDlgTabItem(form.Handle(), form.lvList, FALSE) == form.btnClose);
    CHECK(GetNextDlgTabItem(form.Handle(), form.btnClose, FALSE) == form.plButton1->Handle());
    CHECK(GetNextDlgTabItem(form.Handle(), form.plButton1->Handle(), FALSE) == form.plButton2->Handle());
}

TEST_CASE("list editor: rows in list order with their five fields and the shell's icons")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    std::vector<std::string> captions, row0;
    int images[3] = {-1, -1, -1};
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        captions = Captions(e.lvList);
        for (int c = 0; c < 5; ++c)
            row0.push_back(CellText(e.lvList, 0, c));
        for (int r = 0; r < 3; ++r)
            images[r] = ImageOf(e.lvList, r);
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(captions == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
    CHECK(row0 == std::vector<std::string>{"メモ帳", "C:\\windows\\notepad.exe", "/a", "M", "C:\\work"});
    SHFILEINFOA info{};
    SHGetFileInfoA("C:\\windows\\notepad.exe", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    CHECK(images[0] == info.iIcon);
    SHGetFileInfoA("C:\\windows", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    CHECK(images[1] == info.iIcon);
    CHECK(images[1] != 0);  // a folder's image, not the first one
    CHECK(images[2] == 0);  // an address has no item-id-list
}

TEST_CASE("list editor: an empty list shows three hint rows that can never be selected, edited, renamed or dragged")
{
    ListFixture f({});
    TfrmItemListEditor form;
    PopupRecorderFor popup;
    std::vector<std::string> rows, hint1, hint2, hint3;
    int selectedAfterClick = -1, selectedAfterRightClick = -1;
    HWND labelEdit = reinterpret_cast<HWND>(1);
    HWND captureAfterDrag = reinterpret_cast<HWND>(1);
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        rows = Captions(e.lvList);
        for (int c = 0; c < 5; ++c) {
            hint1.push_back(CellText(e.lvList, 0, c));
            hint2.push_back(CellText(e.lvList, 1, c));
            hint3.push_back(CellText(e.lvList, 2, c));
        }
        ClickRow(e.lvList, 0);
        selectedAfterClick = SelectedCount(e.lvList);
        RightClick(e.lvList, RowCenter(e.lvList, 1));
    },
    [&](Form& shown) {
        auto& e = Editor(shown);
        selectedAfterRightClick = SelectedCount(e.lvList);
        labelEdit = reinterpret_cast<HWND>(SendMessageA(e.lvList, LVM_EDITLABELA, 0, 0));
        const POINT from = RowCenter(e.lvList, 0);
        SendMessageA(e.lvList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        SendMessageA(e.lvList, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x, from.y + 12));
        captureAfterDrag = GetCapture();
        SendMessageA(e.lvList, WM_LBUTTONUP, 0, MAKELPARAM(from.x, from.y + 12));
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(rows == std::vector<std::string>{"ヒント１", "ヒント２", "ヒント３"});
    CHECK(hint1 == std::vector<std::string>{"ヒント１", "右クリックでのポップアップメニューから編集を行えます。", "", "", ""});
    CHECK(hint2 == std::vector<std::string>{"ヒント２", "エクスプローラからドラッグ＆ドロップして追加出来ます。", "", "", ""});
    CHECK(hint3 == std::vector<std::string>{"ヒント３", "新規ランチ(Ctrl+N)で、手入力して追加出来ます。", "", "", ""});
    CHECK(selectedAfterClick == 0);
    CHECK(selectedAfterRightClick == 0);
    CHECK(labelEdit == nullptr);
    CHECK(captureAfterDrag != form.Handle());
    CHECK(LaunchItemCount() == 0);
    // The popup menu then offers only add and the views.
    REQUIRE(popup.record.shown.size() == 1);
    CHECK(EntryTexts(popup.record.shown[0]) ==
          std::vector<std::string>{"新規ランチ(&A)\tCtrl+N", "スタートメニューから追加(&M)...", "-", "大きいアイコン(&B)", "小さいアイコン(&S)", "詳細(&R)"});
}

TEST_CASE("list editor: a hint is drawn across the row; Enter on the first opens the popup, a double click on the "
          "third the item editor")
{
    ListFixture f({});
    TfrmItemListEditor form;
    PopupRecorderFor popup;
    int inkPastSecondColumn = 0, inkInThirdRow = 0;
    bool itemEditorShown = false;
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        RECT client;
        GetClientRect(e.lvList, &client);
        PixelCanvas canvas(client.right, client.bottom, 0x00FF00FF);
        PrintList(e.lvList, canvas);
        const RECT row = RowBounds(e.lvList, 0);
        const int secondColumnEnd = static_cast<int>(SendMessageA(e.lvList, LVM_GETCOLUMNWIDTH, 0, 0) +
                                                     SendMessageA(e.lvList, LVM_GETCOLUMNWIDTH, 1, 0));
        const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
        inkPastSecondColumn = canvas.count(RECT{secondColumnEnd + 2, row.top, client.right, row.bottom}, text);
        const RECT third = RowBounds(e.lvList, 2);
        inkInThirdRow = canvas.count(RECT{0, third.top, client.right, third.bottom}, text);
        SetFocus(e.lvList);
        PostKey(e.lvList, VK_RETURN);
        const POINT p = RowCenter(e.lvList, 2);
        PostMessageA(e.lvList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    },
    [&](Form& s) {
        itemEditorShown = dynamic_cast<TfrmLchSet*>(&s) != nullptr;
        FinishEditor(s, nullptr, false);
    },
    [&](Form&) { form.SetModalResult(mrCancel); }});
    form.ShowModal();
    CHECK_FALSE(driver.TimedOut());
    // Cut at the column's edge, the first hint left nothing past the second column.
    CHECK(inkPastSecondColumn > 20);
    CHECK(inkInThirdRow > 20);
    REQUIRE(popup.record.shown.size() == 1);
    CHECK(EntryTexts(popup.record.shown[0]).front() == "新規ランチ(&A)\tCtrl+N");
    CHECK(itemEditorShown);
    CHECK(LaunchItemCount() == 0);  // the editor was cancelled
}

TEST_CASE("list editor: the popup menu on a selected row, its default item and the view styles")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    PopupRecorderFor popup;
    std::vector<DWORD> views;
    FormDriver driver({
        [&](Form& shown) {
            auto& e = Editor(shown);
            ClickRow(e.lvList, 1);
            popup.record.answer = kS1;
            RightClick(e.lvList, RowCenter(e.lvList, 1));
        },
        [&](Form& shown) {
            auto& e = Editor(shown);
            views.push_back(static_cast<DWORD>(SendMessageA(e.lvList, LVM_GETVIEW, 0, 0)));
            popup.record.answer = kLargeIcon1;
            SendMessageA(e.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e.lvList), MAKELPARAM(-1, -1));
            views.push_back(static_cast<DWORD>(SendMessageA(e.lvList, LVM_GETVIEW, 0, 0)));
            popup.record.answer = kDetail1;
            SendMessageA(e.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e.lvList), MAKELPARAM(-1, -1));
            views.push_back(static_cast<DWORD>(SendMessageA(e.lvList, LVM_GETVIEW, 0, 0)));
            e.Detail1Click();  // already in that view: nothing changes
            views.push_back(static_cast<DWORD>(SendMessageA(e.lvList, LVM_GETVIEW, 0, 0)));
            e.SetModalResult(mrCancel);
        },
    });
    form.ShowModal();
    CHECK(views == std::vector<DWORD>{LV_VIEW_SMALLICON, LV_VIEW_ICON, LV_VIEW_DETAILS, LV_VIEW_DETAILS});
    REQUIRE(popup.record.shown.size() == 3);
    CHECK(EntryTexts(popup.record.shown[0]) ==
          std::vector<std::string>{"編集(&E)", "削除(&D)\tDel", "-", "新規ランチ(&A)\tCtrl+N",
                                   "スタートメニューから追加(&M)...", "-", "大きいアイコン(&B)", "小さいアイコン(&S)",
                                   "詳細(&R)"});
    CHECK(popup.record.defaults[0] == kMiEdit);
    // The radio group follows the view: 詳細, then 小さいアイコン, then 大きいアイコン.
    CHECK(popup.record.checks[0] == std::vector<bool>{false, false, false, false, false, false, false, false, true});
    CHECK(popup.record.checks[1] == std::vector<bool>{false, false, false, false, false, false, false, true, false});
    CHECK(popup.record.checks[2] == std::vector<bool>{false, false, false, false, false, false, true, false, false});
    CHECK(Names() == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
}

TEST_CASE("list editor: drag 0 onto 2 gives 1, 2, 0; 2 onto 0 gives 2, 0, 1; below the rows moves to the end")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    std::vector<std::string> afterFirst, afterSecond, afterThird, shownThird;
    int selectedAfterFirst = -1;
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        DragRow(e.lvList, 0, RowCenter(e.lvList, 2));
        afterFirst = Names();
        selectedAfterFirst = e.SelectedRow();
        DragRow(e.lvList, 2, RowCenter(e.lvList, 0));
        afterSecond = Names();
        RECT r;
        GetClientRect(e.lvList, &r);
        DragRow(e.lvList, 0, POINT{60, r.bottom - 10});  // empty space below the rows
        afterThird = Names();
        shownThird = Captions(e.lvList);
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(afterFirst == std::vector<std::string>{"レジストリ", "表サイト", "メモ帳"});
    CHECK(selectedAfterFirst == 2);
    CHECK(afterSecond == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
    CHECK(afterThird == std::vector<std::string>{"レジストリ", "表サイト", "メモ帳"});
    CHECK(shownThird == afterThird);
    CHECK(f.FileText().empty());  // nothing saved by a drag, nor by Cancel
    CHECK(Names() == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});  // Cancel put it back
}

TEST_CASE("list editor: a drop outside the list view moves nothing")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    std::vector<std::string> after;
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        const RECT button = ChildRect(e.btnClose);
        POINT onButton{button.left + 5, button.top + 5};
        MapWindowPoints(e.Handle(), e.lvList, &onButton, 1);
        DragRow(e.lvList, 0, onButton);
        after = Names();
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(after == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
}

TEST_CASE("list editor: a folder, a .lnk and a text file dropped give two items")
{
    ListFixture f({});
    TempFolder files;
    const std::string text = files.file("メモ.txt");
    WriteBytes(text, "x");
    const std::string folder = files.file("sub");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string link = files.file("ショートカット.lnk");
    MakeShortcut(link, "C:\\windows\\notepad.exe");
    TfrmItemListEditor form;
    std::vector<std::string> captions;
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        SendMessageA(e.Handle(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({folder, link, text, files.file("missing.txt")})), 0);
        captions = Captions(e.lvList);
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(captions == std::vector<std::string>{"ショートカット", "メモ"});
    // Cancel put the list back; the items themselves, checked before that:
    CHECK(LaunchItemCount() == 0);
    {
        ListFixture g({});
        TfrmItemListEditor again;
        std::vector<LaunchItem> items;
        FormDriver d({[&](Form& shown) {
            auto& e = Editor(shown);
            SendMessageA(e.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder, link, text})), 0);
            for (int i = 0; i < LaunchItemCount(); ++i)
                items.push_back(LaunchLists->Item(i));
            PostKey(e.btnClose, VK_RETURN);
        }});
        again.ShowModal();
        REQUIRE(items.size() == 2);
        CHECK(items[0].Name == "ショートカット");
        CHECK(_stricmp(items[0].Target.c_str(), "C:\\windows\\notepad.exe") == 0);
        CHECK(items[1] == LaunchItem{text, "メモ", "", "", ""});
        CHECK(items[0].CmdLine.empty());
        CHECK(items[0].Directory.empty());
        CHECK(items[0].ShortCut.empty());
        CHECK(g.FileText().find("\r\nメモ\r\n") != std::string::npos);
    }
}

TEST_CASE("list editor: renaming in place; an empty name keeps the old one; Del and Ctrl+N belong to the list")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    MessageBoxRecorder boxes(IDCANCEL);
    HWND edit = nullptr;
    std::vector<std::string> afterEmpty, afterRename, shownAfterEmpty;
    std::size_t boxesWhileEditing = 99;
    FormDriver driver({
        [&](Form& shown) {
            auto& e = Editor(shown);
            FocusControl(e.lvList);
            ClickRow(e.lvList, 1);
            edit = reinterpret_cast<HWND>(SendMessageA(e.lvList, LVM_EDITLABELA, 1, 0));
            REQUIRE(edit != nullptr);
            SetWindowTextA(edit, "");
            PostKey(edit, VK_DELETE);  // the edit's own key while a caption is edited
            PostKey(edit, VK_RETURN);
        },
        [&](Form& shown) {
            auto& e = Editor(shown);
            boxesWhileEditing = boxes.boxes().size();
            afterEmpty = Names();
            shownAfterEmpty = Captions(e.lvList);
            edit = reinterpret_cast<HWND>(SendMessageA(e.lvList, LVM_EDITLABELA, 1, 0));
            REQUIRE(edit != nullptr);
            SetWindowTextA(edit, "新しい名前");
            PostKey(edit, VK_RETURN);
        },
        [&](Form& shown) {
            auto& e = Editor(shown);
            afterRename = Names();
            PostKey(e.lvList, VK_DELETE);
        },
        [&](Form& shown) { Editor(shown).SetModalResult(mrCancel); },
    });
    form.ShowModal();
    CHECK(boxesWhileEditing == 0);
    CHECK(afterEmpty == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
    CHECK(shownAfterEmpty == afterEmpty);
    CHECK(afterRename == std::vector<std::string>{"メモ帳", "新しい名前", "表サイト"});
    // Del on the list asked, and Cancel kept the row.
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].text == "削除します。よろしいですか？");
    CHECK(boxes.boxes()[0].caption == "確認");
    CHECK(boxes.boxes()[0].style == (MB_OKCANCEL | MB_ICONWARNING));
    CHECK(boxes.boxes()[0].owner == form.Handle());
}

TEST_CASE("list editor: delete asks and OK removes the selected item")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    MessageBoxRecorder boxes(IDOK);
    std::vector<std::string> after, shown;
    FormDriver driver({[&](Form& s) {
        auto& e = Editor(s);
        ClickRow(e.lvList, 0);
        e.miDeleteClick();
        after = Names();
        shown = Captions(e.lvList);
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(boxes.boxes().size() == 1);
    CHECK(after == std::vector<std::string>{"レジストリ", "表サイト"});
    CHECK(shown == after);
}

TEST_CASE("list editor: add then Cancel leaves the list; Ctrl+N then OK adds; edit opens over the list editor")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    PopupRecorderFor popup;
    int countAfterCancel = -1;
    std::vector<std::string> afterAdd;
    HWND editorOwner = nullptr;
    std::string editedName;
    BYTE keys[256];
    GetKeyboardState(keys);
    FormDriver driver({
        [&](Form& s) {
            auto& e = Editor(s);
            popup.record.answer = kMiAdd;
            SendMessageA(e.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e.lvList), MAKELPARAM(-1, -1));
        },
        [&](Form& s) { FinishEditor(s, "C:\\cancelled.exe", false); },
        [&](Form& s) {
            countAfterCancel = LaunchItemCount();
            BYTE withCtrl[256];
            std::memcpy(withCtrl, keys, sizeof withCtrl);
            withCtrl[VK_CONTROL] = 0x80;
            SetKeyboardState(withCtrl);
            PostKey(form.lvList, 'N');
            (void)s;
        },
        [&](Form& s) {
            SetKeyboardState(keys);
            auto& editor = dynamic_cast<TfrmLchSet&>(s);
            SetControlText(editor.edtName, "追加");
            FinishEditor(s, "C:\\added.exe", true);
        },
        [&](Form&) {
            afterAdd = Names();
            ClickRow(form.lvList, 0);
            const POINT p = RowCenter(form.lvList, 0);
            SendMessageA(form.lvList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        },
        [&](Form& s) {
            editorOwner = GetWindow(s.Handle(), GW_OWNER);
            CHECK(DialogShown);
            auto& editor = dynamic_cast<TfrmLchSet&>(s);
            SetControlText(editor.edtName, "編集後");
            FinishEditor(s, nullptr, true);
        },
        [&](Form&) {
            editedName = CellText(form.lvList, 0, 0);
            CHECK(DialogShown);  // still set for the list editor after the inner one closed
            form.SetModalResult(mrCancel);
        },
    });
    form.ShowModal();
    SetKeyboardState(keys);
    CHECK_FALSE(driver.TimedOut());
    CHECK(countAfterCancel == 3);
    CHECK(afterAdd == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト", "追加"});
    CHECK(editorOwner == form.Handle());
    CHECK(editedName == "編集後");
    CHECK_FALSE(DialogShown);
}

TEST_CASE("list editor: Close writes Launch.ini; Cancel and the title bar write nothing and put the list back")
{
    for (const int way : {0, 1, 2}) {
        CAPTURE(way);
        ListFixture f(kThree, "C:\\windows\\notepad.exe");
        TfrmItemListEditor form;
        FormDriver driver({
            [&](Form& s) {
                auto& e = Editor(s);
                DragRow(e.lvList, 0, RowCenter(e.lvList, 2));
                ClickRow(e.lvList, 0);
                e.miEditClick();  // opens the item editor
            },
            [&](Form& s) {
                auto& editor = dynamic_cast<TfrmLchSet&>(s);
                SetChecked(editor.cbDblClick, true);
                SetControlText(editor.edtName, "変更");
                FinishEditor(s, nullptr, true);
            },
            [&](Form&) {
                if (way == 0)
                    ClickAt(form.btnClose, 5, 5);
                else if (way == 1)
                    ClickAt(form.plButton1->Handle(), 5, 5);
                else
                    PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            },
        });
        const int result = form.ShowModal();
        CHECK_FALSE(driver.TimedOut());
        if (way == 0) {
            CHECK(result == mrOk);
            const std::string text = f.FileText();
            CHECK(text.find("変更") != std::string::npos);
            CHECK(text.find("表サイト") < text.find("メモ帳"));
            CHECK(Names() == std::vector<std::string>{"変更", "表サイト", "メモ帳"});
            CHECK(DblClickCommand == "C:\\windows");
        } else {
            CHECK(result == mrCancel);
            CHECK(f.FileText().empty());
            CHECK(Names() == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
            CHECK(DblClickCommand == "C:\\windows\\notepad.exe");
        }
    }
}

TEST_CASE("list editor: a resize keeps the buttons on the bottom edge and repaints the band")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    bool bandInvalid = false;
    RECT list{}, close{}, cancel{}, help{};
    COLORREF top = 0, bottom = 0, screenBottom = 0, oldBandNow = 0;
    FormDriver driver({[&](Form& s) {
        auto& e = Editor(s);
        UpdateWindow(e.Handle());
        RECT frame;
        GetWindowRect(e.Handle(), &frame);
        SetWindowPos(e.Handle(), nullptr, 0, 0, frame.right - frame.left + 130, frame.bottom - frame.top + 120,
                     SWP_NOMOVE | SWP_NOZORDER);
        // Before painting: the whole new band is owed a paint.
        HRGN owed = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(e.Handle(), owed, FALSE);
        bandInvalid = PtInRegion(owed, 300, 400 - 32) && PtInRegion(owed, 300, 399) && PtInRegion(owed, 650, 399);
        DeleteObject(owed);
        list = ChildRect(e.lvList);
        close = ChildRect(e.btnClose);
        cancel = ChildRect(e.plButton1->Handle());
        help = ChildRect(e.plButton2->Handle());
        UpdateWindow(e.Handle());
        PixelCanvas canvas(700, 400, 0x00FF00FF);
        e.PaintContent(canvas.dc());
        top = canvas.at(300, 400 - 32);
        bottom = canvas.at(300, 399);
        oldBandNow = canvas.at(300, 280 - 1);  // under the list view now; the form paints its colour there
        HDC dc = GetDC(e.Handle());
        screenBottom = GetPixel(dc, 300, 398);
        ReleaseDC(e.Handle(), dc);
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(bandInvalid);
    CHECK(list.left == 0);
    CHECK(list.top == 0);
    CHECK(list.right == 700);
    CHECK(list.bottom == 358);
    CHECK(close.left == 570);
    CHECK(close.top == 373);
    CHECK(close.bottom == 395);
    CHECK(cancel.left == 104);
    CHECK(cancel.top == 373);
    CHECK(help.left == 8);
    CHECK(help.top == 373);
    CHECK(Near(top, 0x00EBF0F3, 2));
    CHECK(Near(bottom, 0x00B4C9D3, 3));
    CHECK(oldBandNow == 0x00EBF0F3);
    CHECK(Near(screenBottom, 0x00B4C9D3, 4));
}

TEST_CASE("list editor: the help button opens the page from the current folder, else beside the program")
{
    ListFixture f(kThree);
    std::vector<std::string> opened;
    g_opened = &opened;
    const SeamOverride<ShellExecuteFunction> shell(ShellExecuteCall, RecordShell);
    char oldDir[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof oldDir, oldDir);
    TempFolder withHelp, without;
    CreateDirectoryA(withHelp.file("manual").c_str(), nullptr);
    WriteBytes(withHelp.file("manual\\index.html"), "<html></html>");
    for (const std::string& dir : {withHelp.path(), without.path()}) {
        SetCurrentDirectoryA(dir.c_str());
        TfrmItemListEditor form;
        FormDriver driver({[&](Form& s) {
            auto& e = Editor(s);
            ClickAt(e.plButton2->Handle(), 5, 5);
            e.SetModalResult(mrCancel);
        }});
        form.ShowModal();
    }
    SetCurrentDirectoryA(oldDir);
    g_opened = nullptr;
    DeleteFileA(withHelp.file("manual\\index.html").c_str());
    RemoveDirectoryA(withHelp.file("manual").c_str());
    REQUIRE(opened.size() == 2);
    CHECK(opened[0] == "manual\\index.html");
    CHECK(opened[1] == ExecutableDirectory() + "manual\\index.html");
}

TEST_CASE("list editor: Escape closes it as Cancel does, but not while a caption is being edited")
{
    ListFixture f(kThree);
    TfrmItemListEditor form;
    bool openWhileEditing = false;
    FormDriver driver({
        [&](Form& shown) {
            auto& e = Editor(shown);
            SetFocus(e.lvList);
            SendMessageA(e.lvList, LVM_EDITLABELA, 0, 0);
        },
        [&](Form& shown) {
            HWND caption = reinterpret_cast<HWND>(SendMessageA(Editor(shown).lvList, LVM_GETEDITCONTROL, 0, 0));
            REQUIRE(caption);
            SetWindowTextA(caption, "変えた名前");
            PostKey(caption, VK_ESCAPE);  // the caption's own: the edit is dropped
        },
        [&](Form& shown) {
            openWhileEditing = shown.Showing() && shown.ModalResult() == mrNone;
            auto& e = Editor(shown);
            DeleteLaunchItem(0);  // a change that Cancel must put back
            e.RefreshList();
            PostKey(e.lvList, VK_ESCAPE);
        },
    });
    CHECK(form.ShowModal() == mrCancel);
    CHECK(openWhileEditing);
    CHECK(Names() == std::vector<std::string>{"メモ帳", "レジストリ", "表サイト"});
    CHECK(f.FileText().empty());  // nothing saved
}

TEST_CASE("list editor: a dropped name the code page cannot hold is stored as its short form")
{
    ListFixture f({});
    TempFolder files;
    const std::wstring korean = Widen(files.path()) + L"\uD55C\uAE00.txt";
    UniqueFile made(CreateFileW(korean.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    REQUIRE(made);
    made.reset();
    MessageBoxRecorder boxes;
    TfrmItemListEditor form;
    std::vector<LaunchItem> items;
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        SendMessageA(e.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({korean})), 0);
        for (int i = 0; i < LaunchItemCount(); ++i)
            items.push_back(LaunchLists->Item(i));
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    REQUIRE(items.size() == 1);
    CHECK(items[0].Target.find('?') == std::string::npos);
    CHECK(items[0].Name.find('?') == std::string::npos);
    CHECK(GetFileAttributesA(items[0].Target.c_str()) != INVALID_FILE_ATTRIBUTES);
    CHECK(boxes.boxes().empty());
}

TEST_CASE("list editor: an item whose file is gone is drawn grey; present files and addresses are not")
{
    ListFixture f({{"C:\\windows\\notepad.exe", "メモ帳", "", "", ""},
                   {"C:\\nowhere\\gone.exe", "消えた", "", "", ""},
                   {"https://www.example.com/", "サイト", "", "", ""}});
    TfrmItemListEditor form;
    int grey[3] = {-1, -1, -1};
    FormDriver driver({[&](Form& shown) {
        auto& e = Editor(shown);
        RECT client;
        GetClientRect(e.lvList, &client);
        PixelCanvas canvas(client.right, client.bottom, 0x00FF00FF);
        PrintList(e.lvList, canvas);
        for (int row = 0; row < 3; ++row) {
            const RECT r = RowBounds(e.lvList, row);
            grey[row] = canvas.count(RECT{20, r.top, client.right, r.bottom}, GetSysColor(COLOR_GRAYTEXT));
        }
        e.SetModalResult(mrCancel);
    }});
    form.ShowModal();
    CHECK(grey[0] == 0);
    CHECK(grey[1] > 20);
    CHECK(grey[2] == 0);
}
