// The item editor driven through its real modal loop: fields, OK's rules,
// Escape, the shortcut letter, browsing, dropped files and Japanese text.
#include <doctest/doctest.h>

#include <shlobj.h>

#include <cstring>
#include <cwchar>

#include "controls/PlButton.h"
#include "core/BusyFlags.h"
#include "core/store/LaunchList.h"
#include "dialogs/ItemEditor.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/WindowHelpers.h"
#include "platform/ShellHelpers.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

void SetList(const std::vector<LaunchItem>& items, const std::string& dblClick = "")
{
    CreateLaunchLists();
    ClearLaunchList();
    for (const LaunchItem& item : items)
        LaunchLists->Append(item);
    DblClickCommand = dblClick;
}

void TypeText(HWND edit, const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p)
        PostChar(edit, *p);
}


void Drop(HWND form, const std::vector<std::string>& names)
{
    SendMessageA(form, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
}

struct OpenFileAnswer {
    std::string title, filter;
    std::wstring answer;
    DWORD flags = 0;
    bool asked = false;
};
OpenFileAnswer* g_openFile = nullptr;

BOOL WINAPI AnswerOpenFile(OPENFILENAMEW* request)
{
    g_openFile->asked = true;
    g_openFile->title = request->lpstrTitle ? ShownPath(request->lpstrTitle) : "";
    const wchar_t* f = request->lpstrFilter;
    while (f && *f) {  // "name\0pattern\0...\0"
        g_openFile->filter += ShownPath(f) + "|";
        f += std::wcslen(f) + 1;
    }
    g_openFile->flags = request->Flags;
    if (g_openFile->answer.empty())
        return FALSE;
    std::wcsncpy(request->lpstrFile, g_openFile->answer.c_str(), request->nMaxFile - 1);
    return TRUE;
}

class OpenFileRecorder {
public:
    explicit OpenFileRecorder(const std::string& answer) : OpenFileRecorder(Widen(answer)) {}
    explicit OpenFileRecorder(std::wstring answer)
    {
        record.answer = std::move(answer);
        g_openFile = &record;
    }
    ~OpenFileRecorder() { g_openFile = nullptr; }
    const SeamOverride<OpenFileDialogFunction> seam{ShowOpenFileDialog, AnswerOpenFile};
    OpenFileAnswer record;

private:
};


const LaunchItem kNotepad{"C:\\windows\\notepad.exe", "メモ帳", "/a", "M", "C:\\work"};

}  // namespace

TEST_CASE("a new item shows empty fields; the layout is as designed")
{
    SetList({kNotepad});
    const int index = AddLaunchItem();
    TfrmLchSet form;
    // A font as narrow as the one the layout was drawn for: nothing moves.
    GiveFont(form.Handle(), "ＭＳ Ｐゴシック", 10);
    std::vector<std::string> texts;
    bool checked = true;
    HWND focus = nullptr;
    FormDriver driver({[&](Form& f) {
        for (HWND h : {form.edtName, form.edtLaunch, form.edtCmdLine, form.edtDirectory, form.edtShortCut})
            texts.push_back(ControlText(h));
        checked = IsChecked(form.cbDblClick);
        focus = FocusedControl();
        f.SetModalResult(mrCancel);
    }});
    CHECK(form.EditItem(index) == mrCancel);
    CHECK(texts == std::vector<std::string>(5, ""));
    CHECK_FALSE(checked);
    CHECK(focus == form.edtName);

    CHECK(ControlText(form.Handle()) == "ランチアイテム設定");
    RECT client;
    GetClientRect(form.Handle(), &client);
    CHECK(client.right == 560);
    CHECK(client.bottom == 240);
    CheckChildRect(form.Label1, 32, 40, 121, 17);
    CheckChildRect(form.edtName, 160, 40, 177, 20);
    CheckChildRect(form.edtLaunch, 160, 64, 345, 20);
    CheckChildRect(form.plButton2->Handle(), 512, 63, 41, 22);
    CheckChildRect(form.edtCmdLine, 160, 96, 345, 20);
    CheckChildRect(form.edtDirectory, 160, 120, 345, 20);
    CheckChildRect(form.edtShortCut, 160, 152, 41, 20);
    CheckChildRect(form.cbDblClick, 160, 184, 265, 17);
    CheckChildRect(form.btnClose, 437, 212, 113, 21);
    CheckChildRect(form.plButton1->Handle(), 32, 212, 121, 22);
    CHECK(ChildRect(form.Label5).left == 208);
    CHECK_FALSE(IsWindowEnabled(form.Label5));
    CHECK(ControlText(form.Label2) == "起動ファイル名(&L) :");
    CHECK((GetWindowLongPtrA(form.btnClose, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON);
    CHECK(form.plButton1->CaptionA().Caption() == "キャンセル");
    CHECK(form.plButton2->CaptionA().Caption() == "参照...");

    Canvas canvas(560, 240);
    PrintClient(form.Handle(), canvas);
    Canvas strip(56, 240);
    FillGradient(strip.dc(), true, RECT{0, 0, 55, 240}, 0x00FF7030, 0x00DDE7EC);
    for (int x = 0; x < 30; ++x)
        CHECK(canvas.at(x, 230) == strip.at(x, 230));
    CHECK(canvas.at(0, 230) != 0x00DDE7EC);
    CHECK(canvas.at(57, 230) == 0x00DDE7EC);
}

TEST_CASE("a wide font: every caption whole and right of the strip, the fields after the labels, the form wider")
{
    SetList({kNotepad});
    TfrmLchSet form;
    GiveFont(form.Handle(), "ＭＳ ゴシック", 14);
    FormDriver driver({[&](Form& f) { f.SetModalResult(mrCancel); }});
    form.EditItem(0);
    RECT client;
    GetClientRect(form.Handle(), &client);
    CHECK(client.right > 560);
    CHECK(client.bottom == 240);
    const std::pair<HWND, HWND> rows[] = {{form.Label1, form.edtName}, {form.Label2, form.edtLaunch},
                                          {form.Label3, form.edtCmdLine}, {form.Label7, form.edtDirectory},
                                          {form.Label4, form.edtShortCut}};
    for (const auto& [label, field] : rows) {
        CAPTURE(ControlText(label));
        const RECT l = ChildRect(label);
        CHECK(l.right - l.left >= CaptionWidth(label));
        CHECK(l.left == 32);
        CHECK(ChildRect(field).left > l.right);
    }
    const RECT top = ChildRect(form.Label6);
    CHECK(top.right - top.left >= CaptionWidth(form.Label6));
    CHECK(top.right <= client.right);
    const RECT box = ChildRect(form.cbDblClick);
    CHECK(box.right - box.left >= CaptionWidth(form.cbDblClick) + 13);
    CHECK(box.right <= client.right);
    // The browse button keeps its gap to the target, OK its margin, Cancel its place.
    CHECK(ChildRect(form.plButton2->Handle()).left - ChildRect(form.edtLaunch).right == 7);
    CHECK(client.right - ChildRect(form.btnClose).right == 10);
    CheckChildRect(form.plButton1->Handle(), 32, 212, 121, 22);
}

TEST_CASE("OK with a blank target warns and stays open; Cancel then changes nothing")
{
    SetList({kNotepad});
    const int index = AddLaunchItem();
    MessageBoxRecorder boxes;
    TfrmLchSet form;
    bool openAfterWarning = false;
    FormDriver driver({
        [&](Form&) {
            SetControlText(form.edtLaunch, "   ");
            SetControlText(form.edtName, "名前");
            PostKey(form.edtName, VK_RETURN);  // Enter presses OK
        },
        [&](Form& f) {
            openAfterWarning = f.Showing() && f.ModalResult() == mrNone;
            ClickAt(form.plButton1->Handle(), 5, 5);
        },
    });
    CHECK(form.EditItem(index) == mrCancel);
    CHECK(openAfterWarning);
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].text == "ランチファイルが設定されていません");
    CHECK(boxes.boxes()[0].caption == "注意");
    CHECK(boxes.boxes()[0].style == (MB_OK | MB_ICONWARNING));
    CHECK(boxes.boxes()[0].owner == form.Handle());
    CHECK(LaunchLists->Item(index) == LaunchItem{"", "", "", NoShortCut, ""});
}

TEST_CASE("OK stores the fields as typed, one trailing backslash less, a blank name from the target")
{
    SetList({kNotepad});
    TfrmLchSet form;
    std::string shown;
    FormDriver driver({
        [&](Form&) {
            SetControlText(form.edtLaunch, "C:\\Data\\");
            SetControlText(form.edtName, "");
            SetControlText(form.edtCmdLine, " -x ");
            PostKey(form.edtCmdLine, VK_RETURN);
        },
    });
    CHECK(form.EditItem(0) == mrOk);
    CHECK(ControlText(form.edtLaunch) == "C:\\Data");
    CHECK(LaunchLists->Item(0) == LaunchItem{"C:\\Data", "Data", " -x ", "M", "C:\\work"});
}

TEST_CASE("the shortcut edit: letters replace, Escape empties it and keeps the dialog; Escape elsewhere cancels")
{
    SetList({kNotepad});
    TfrmLchSet form;
    std::vector<std::string> seen;
    bool openAfterEscape = false;
    FormDriver driver({
        [&](Form&) {
            FocusControl(form.edtShortCut);
            PostChar(form.edtShortCut, L'a');
        },
        [&](Form&) {
            seen.push_back(ControlText(form.edtShortCut));
            PostChar(form.edtShortCut, L'b');
        },
        [&](Form&) {
            seen.push_back(ControlText(form.edtShortCut));
            PostKey(form.edtShortCut, VK_ESCAPE);
        },
        [&](Form& f) {
            seen.push_back(ControlText(form.edtShortCut));
            openAfterEscape = f.Showing() && f.ModalResult() == mrNone;
            PostChar(form.edtShortCut, L'ア');  // one character, never half of one
        },
        [&](Form&) {
            seen.push_back(ControlText(form.edtShortCut));
            // A paste arrives without a typed character: cut to one, as it is.
            SetControlText(form.edtShortCut, "xyz");
        },
        [&](Form&) {
            seen.push_back(ControlText(form.edtShortCut));
            SetControlText(form.edtShortCut, "表示");
        },
        [&](Form&) {
            seen.push_back(ControlText(form.edtShortCut));
            FocusControl(form.edtName);
        },
        [&](Form&) { PostKey(form.edtName, VK_ESCAPE); },
    });
    CHECK(form.EditItem(0) == mrCancel);
    CHECK_FALSE(driver.TimedOut());
    CHECK(seen == std::vector<std::string>{"A", "B", "", "ア", "x", "表"});
    CHECK(openAfterEscape);
    CHECK(LaunchLists->Item(0) == kNotepad);  // Cancel stored nothing
}

TEST_CASE("the double-click mark follows the edited item's target")
{
    const std::vector<LaunchItem> items{
        {"C:\\a.exe", "a", "", "A", ""}, {"C:\\b.exe", "b", "", "B", ""}, {"C:\\c.exe", "c", "", "C", ""}};
    SetList(items, "C:\\b.exe");
    auto edit = [](int index, const std::function<void(TfrmLchSet&)>& change, bool* checkedAtStart = nullptr) {
        TfrmLchSet form;
        FormDriver driver({[&](Form&) {
            if (checkedAtStart)
                *checkedAtStart = IsChecked(form.cbDblClick);
            change(form);
            PostKey(form.edtName, VK_RETURN);
        }});
        return form.EditItem(index);
    };

    // Marking item 3 with a new target takes that target.
    CHECK(edit(2, [](TfrmLchSet& f) {
              SetControlText(f.edtLaunch, "C:\\c2.exe");
              SetChecked(f.cbDblClick, true);
          }) == mrOk);
    CHECK(DblClickCommand == "C:\\c2.exe");

    bool checked = false;
    CHECK(edit(2, [](TfrmLchSet&) {}, &checked) == mrOk);
    CHECK(checked);
    CHECK(DblClickCommand == "C:\\c2.exe");

    // OK on another item with the box unchecked leaves it alone.
    CHECK(edit(0, [](TfrmLchSet&) {}, &checked) == mrOk);
    CHECK_FALSE(checked);
    CHECK(DblClickCommand == "C:\\c2.exe");

    CHECK(edit(2, [](TfrmLchSet& f) { SetChecked(f.cbDblClick, false); }) == mrOk);
    CHECK(DblClickCommand == "");
}

TEST_CASE("dropped files: the first path only, taken as it is; the name only when blank")
{
    SetList({LaunchItem{"", "", "", NoShortCut, ""}});
    TfrmLchSet form;
    std::vector<std::string> targets, names;
    FormDriver driver({
        [&](Form& f) {
            Drop(f.Handle(), {"C:\\Tools\\grep.exe", "C:\\Tools\\sed.exe", "C:\\Tools\\awk.exe"});
            targets.push_back(ControlText(form.edtLaunch));
            names.push_back(ControlText(form.edtName));
            Drop(f.Handle(), {"C:\\Users\\me\\Desktop\\メモ帳.lnk"});
            targets.push_back(ControlText(form.edtLaunch));
            names.push_back(ControlText(form.edtName));
            SetControlText(form.edtName, "  ");
            Drop(f.Handle(), {"C:\\ソフト\\表計算.exe"});
            targets.push_back(ControlText(form.edtLaunch));
            names.push_back(ControlText(form.edtName));
            f.SetModalResult(mrCancel);
        },
    });
    form.EditItem(0);
    CHECK(targets == std::vector<std::string>{"C:\\Tools\\grep.exe", "C:\\Users\\me\\Desktop\\メモ帳.lnk",
                                              "C:\\ソフト\\表計算.exe"});
    CHECK(names == std::vector<std::string>{"grep", "grep", "表計算"});
}

TEST_CASE("browsing asks the open-file dialog; a name present is kept")
{
    SetList({kNotepad, LaunchItem{"", "", "", NoShortCut, ""}});
    SUBCASE("with a name")
    {
        OpenFileRecorder open("C:\\Tools\\grep.exe");
        TfrmLchSet form;
        FormDriver driver({
            [&](Form&) { ClickAt(form.plButton2->Handle(), 5, 5); },
            [&](Form& f) {
                CHECK(f.ModalResult() == mrNone);  // the browse button closes nothing
                // The click took the focus: Enter there would browse again.
                CHECK(FocusedControl() == form.plButton2->Handle());
                FocusControl(form.edtName);
            },
            [&](Form&) { PostKey(form.edtName, VK_RETURN); },
        });
        CHECK(form.EditItem(0) == mrOk);
        CHECK(open.record.asked);
        CHECK(open.record.title == "ランチファイルの設定");
        CHECK(open.record.filter == "全てのファイル(*.*)|*.*|");
        CHECK((open.record.flags & OFN_NOCHANGEDIR) != 0);
        CHECK(LaunchLists->Item(0).Target == "C:\\Tools\\grep.exe");
        CHECK(LaunchLists->Item(0).Name == "メモ帳");
    }
    SUBCASE("blank name, then a cancelled dialog")
    {
        OpenFileRecorder open("C:\\Tools\\grep.exe");
        TfrmLchSet form;
        std::string afterCancel;
        FormDriver driver({
            [&](Form&) { ClickAt(form.plButton2->Handle(), 5, 5); },
            [&](Form&) {
                g_openFile->answer.clear();
                ClickAt(form.plButton2->Handle(), 5, 5);
            },
            [&](Form&) {
                afterCancel = ControlText(form.edtLaunch);
                FocusControl(form.edtName);
            },
            [&](Form&) { PostKey(form.edtName, VK_RETURN); },
        });
        CHECK(form.EditItem(1) == mrOk);
        CHECK(afterCancel == "C:\\Tools\\grep.exe");
        CHECK(LaunchLists->Item(1).Name == "grep");
    }
}

TEST_CASE("Japanese text typed into the fields is stored byte for byte")
{
    SetList({LaunchItem{"", "", "", NoShortCut, ""}});
    TfrmLchSet form;
    FormDriver driver({
        [&](Form&) {
            TypeText(form.edtName, L"表ソ能ｱｲｳ");
            TypeText(form.edtLaunch, L"C:\\表\\ソフト能.exe");
            TypeText(form.edtDirectory, L"C:\\表\\");
        },
        [&](Form&) { PostKey(form.edtName, VK_RETURN); },
    });
    CHECK(form.EditItem(0) == mrOk);
    const LaunchItem stored = LaunchLists->Item(0);
    CHECK(stored.Name == "表ソ能ｱｲｳ");
    CHECK(stored.Target == "C:\\表\\ソフト能.exe");
    CHECK(stored.Directory == "C:\\表\\");  // only the target loses a backslash
    CHECK(stored.Name == std::string("\x95\x5C\x83\x5C\x94\x5C\xB1\xB2\xB3"));
    CHECK_FALSE(DialogShown);
}

TEST_CASE("a name the code page cannot hold is taken as its short form, or refused with a message; never with ?")
{
    SetList({LaunchItem{"", "", "", NoShortCut, ""}});
    TempFolder dir;
    // Korean and an emoji: neither is in code page 932.
    const std::wstring folder = Widen(dir.path());
    const std::wstring existing = folder + L"\uD55C\uAE00 \U0001F680.txt";
    const std::wstring missing = folder + L"\uD55C\uAE00-missing.exe";
    UniqueFile made(CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    REQUIRE(made);
    made.reset();
    MessageBoxRecorder boxes;
    TfrmLchSet form;
    std::string afterExisting, afterMissing, afterBrowse;
    OpenFileRecorder open(missing);
    FormDriver driver({
        [&](Form& f) {
            SendMessageA(f.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({existing})), 0);
            afterExisting = ControlText(form.edtLaunch);
            SendMessageA(f.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({missing})), 0);
            afterMissing = ControlText(form.edtLaunch);
        },
        [&](Form&) { ClickAt(form.plButton2->Handle(), 5, 5); },
        [&](Form& f) {
            afterBrowse = ControlText(form.edtLaunch);
            f.SetModalResult(mrCancel);
        },
    });
    form.EditItem(0);
    // The short form names the same file, in bytes the code page holds.
    CHECK(afterExisting.find('?') == std::string::npos);
    wchar_t longForm[MAX_PATH] = {};
    GetLongPathNameW(Widen(afterExisting).c_str(), longForm, MAX_PATH);
    CHECK(_wcsicmp(longForm, existing.c_str()) == 0);
    // A missing file has no short form: refused, the field keeps the last one.
    CHECK(afterMissing == afterExisting);
    CHECK(afterBrowse == afterExisting);
    REQUIRE(boxes.boxes().size() == 2);
    CHECK(boxes.boxes()[0].text.find("登録できません") != std::string::npos);
    CHECK(boxes.boxes()[0].text.find(dir.path()) != std::string::npos);
    CHECK(boxes.boxes()[1].text == boxes.boxes()[0].text);
}
