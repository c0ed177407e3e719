#include "dialogs/ItemEditor.h"

#include <shellapi.h>

#include <algorithm>

#include "controls/PlButton.h"
#include "dialogs/ChosenFiles.h"
#include "core/store/LaunchList.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/ShellHelpers.h"
#include "platform/Subclass.h"

namespace {

constexpr FormStyle kStyle{
    .caption = "ランチアイテム設定",
    .clientWidth = 560,
    .clientHeight = 240,
    .frame = FormFrame::Dialog,
    .color = kFormColor,
    .position = FormPosition::ScreenCenter,
    .keyPreview = true,
    .escapeCloses = false,
};

// The open-file dialog is asked in its wide form; its texts are the
// program's own, written wide here.
constexpr const wchar_t kOpenFilter[] = L"全てのファイル(*.*)\0*.*\0";
constexpr const wchar_t* kOpenTitle = L"ランチファイルの設定";

LabelStyle FieldLabel()
{
    LabelStyle s;
    s.align = LabelAlign::Right;
    s.vertCenter = true;
    return s;
}

}  // namespace

TfrmLchSet::TfrmLchSet() : Form(kStyle), typing_(IsAnsiLeadByte)
{
    LabelStyle autoSize;
    autoSize.autoSize = true;
    Label6 = AddLabel(32, 8, 10, 10,
                      "エクスプローラからファイルをドラッグ＆ドロップすると、すばやくファイルを関連付けられます。",
                      autoSize);
    Label1 = AddLabel(32, 40, 121, 17, "表示名(&N) :", FieldLabel());
    edtName = AddEdit(160, 40, 177, 20);
    Label2 = AddLabel(32, 64, 121, 17, "起動ファイル名(&L) :", FieldLabel());
    edtLaunch = AddEdit(160, 64, 345, 20);
    SetHint(edtLaunch, "フォルダやwebアドレスも設定できます");
    plButton2 = &AddDialogButton(512, 63, 41, 22, "plButton2", "参照...", mrNone);
    Label3 = AddLabel(32, 96, 121, 17, "コマンドライン引数(&C) :", FieldLabel());
    edtCmdLine = AddEdit(160, 96, 345, 20);
    Label7 = AddLabel(32, 120, 121, 17, "作業ディレクトリ(&D) :", FieldLabel());
    edtDirectory = AddEdit(160, 120, 345, 20);
    Label4 = AddLabel(32, 152, 121, 17, "ショートカット(&S) :", FieldLabel());
    edtShortCut = AddEdit(160, 152, 41, 20);
    LabelStyle grey = autoSize;
    grey.enabled = false;
    Label5 = AddLabel(208, 157, 10, 10, "Escキーで解除(ショートカットなし)", grey);
    cbDblClick = AddCheckBox(160, 184, 265, 17, "アイコンのダブルクリックでも開くようにする(&D) :");
    AddTopBevel(32, 204, 518, 9);
    btnClose = AddPushButton(437, 212, 113, 21, "&OK", true);
    plButton1 = &AddDialogButton(32, 212, 121, 22, "plButton1", "キャンセル", mrCancel);

    SubclassControl(edtShortCut, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return ShortCutMessage(message, wParam, lParam);
    });
    FormCreate();
}

TfrmLchSet::~TfrmLchSet() { FormDestroy(); }

void TfrmLchSet::FormCreate() { DragAcceptFiles(Handle(), TRUE); }

void TfrmLchSet::FormDestroy()
{
    if (Handle())
        DragAcceptFiles(Handle(), FALSE);
}

int TfrmLchSet::EditItem(int index, HWND owner)
{
    EditIndex = index;
    const LaunchItem item = LaunchLists->Item(index);
    SetControlText(edtName, item.Name);
    SetControlText(edtLaunch, item.Target);
    SetControlText(edtCmdLine, item.CmdLine);
    SetControlText(edtShortCut, item.ShortCut);  // NoShortCut shows as empty
    SetControlText(edtDirectory, item.Directory);
    // An item without a target is never the double-click item, even while
    // no double-click command is set.
    SetChecked(cbDblClick, !item.Target.empty() && DblClickCommand == item.Target);
    WasDblClickItem = IsChecked(cbDblClick);
    return ShowModal(owner);
}

void TfrmLchSet::FormPaint(HDC dc)
{
    PaintAccentStrip(dc, 55);
}

void TfrmLchSet::FormFitText()
{
    // The field labels start at the strip's inner edge and end where the
    // fields begin: a longer caption opens a column between them.
    constexpr int kLabelLeft = 32, kBetween = 157, kLongFields = 400, kMargin = 8;
    const HWND labels[] = {Label1, Label2, Label3, Label7, Label4};
    int missing = 0;
    for (HWND label : labels)
        missing = std::max(missing, GrowLeftToText(label, kLabelLeft));
    Widen(kBetween, missing);
    for (HWND label : labels)
        MoveEdges(label, 0, missing);
    // The line at the top and the check box widen the form at the long fields.
    Widen(kLongFields, TextNeed(Label6) - (ClientWidth96() - kLabelLeft - kMargin));
    Widen(kLongFields, GrowRightToText(cbDblClick, ClientWidth96() - kMargin));
}

bool TfrmLchSet::FormKeyDown(WPARAM key)
{
    // Escape cancels, except in the shortcut edit, where it clears the letter.
    if (key != VK_ESCAPE || GetFocus() == edtShortCut)
        return false;
    SetModalResult(mrCancel);
    return true;
}

void TfrmLchSet::Command(int, int code, HWND control)
{
    if (control == btnClose && code == BN_CLICKED)
        btnCloseClick();
    else if (plButton1 && control == plButton1->Handle() && code == BN_CLICKED)
        Button1Click();
    else if (plButton2 && control == plButton2->Handle() && code == BN_CLICKED)
        btnSerchClick();
    else if (control == edtShortCut && code == EN_CHANGE)
        edtShortCutChange();
}

LRESULT TfrmLchSet::Message(UINT message, WPARAM wParam, LPARAM, bool& handled)
{
    if (message != WM_DROPFILES)
        return 0;
    handled = true;
    WMDropFiles(wParam);
    return 0;
}

void TfrmLchSet::btnCloseClick()
{
    if (IsBlankText(ControlText(edtLaunch))) {
        ShowMessageBox(Handle(), kMsgNoLaunchFile, kMsgNoLaunchFileCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    SetControlText(edtLaunch, WithoutTrailingBackslash(ControlText(edtLaunch), IsAnsiLeadByte));
    // A blank name would make a row with no caption: it comes from the target.
    if (IsBlankText(ControlText(edtName)))
        SetControlText(edtName, NameFromTarget(ControlText(edtLaunch), IsAnsiLeadByte));
    SetLaunchItem(EditIndex, ControlText(edtLaunch), ControlText(edtName), ControlText(edtCmdLine),
                  ControlText(edtDirectory), ControlText(edtShortCut));
    if (IsChecked(cbDblClick))
        DblClickCommand = LaunchLists->TargetList[static_cast<std::size_t>(EditIndex)];
    else if (WasDblClickItem)
        DblClickCommand.clear();
    SetModalResult(mrOk);
}

void TfrmLchSet::Button1Click() { SetModalResult(mrCancel); }

void TfrmLchSet::btnSerchClick()
{
    // Wide, so that a name the ANSI code page cannot hold comes back whole
    // and can be judged, not with "?" in it.
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = Handle();
    request.lpstrFilter = kOpenFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = kOpenTitle;
    // The help is found relative to the current folder: browsing must not
    // move it.
    request.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!ShowOpenFileDialog(&request))
        return;
    TakeChosen(file);
}

void TfrmLchSet::WMDropFiles(WPARAM drop)
{
    // The first file only, taken as it is: a folder or a .lnk file too.
    const std::vector<std::wstring> dropped = GetDroppedFiles(drop);
    if (!dropped.empty())
        TakeChosen(dropped.front());
}

void TfrmLchSet::TakeChosen(const std::wstring& path)
{
    ChosenFiles chosen;
    if (const std::optional<std::string> exact = chosen.Take(path))
        TakeTarget(*exact);
    chosen.ReportRefused(Handle());
}

void TfrmLchSet::TakeTarget(const std::string& path)
{
    SetControlText(edtLaunch, path);
    if (IsBlankText(ControlText(edtName)))
        SetControlText(edtName, DerivedName(path, IsAnsiLeadByte));
}

void TfrmLchSet::edtShortCutChange()
{
    const std::string text = ControlText(edtShortCut);
    const std::string first = FirstCharacter(text, IsAnsiLeadByte);
    if (!text.empty() && first != text)
        SetControlText(edtShortCut, first);
}

void TfrmLchSet::edtShortCutKeyPress(unsigned char typed)
{
    if (const auto text = typing_.Type(typed))
        SetControlText(edtShortCut, *text);
}

std::optional<LRESULT> TfrmLchSet::ShortCutMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        // Escape is this edit's own; Tab and Enter stay the form's.
        LRESULT code = ControlDefault(edtShortCut, message, wParam, lParam);
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_CHAR:
        // Every character is consumed; the edit never inserts one itself.
        ForEachCharByte(wParam, [this](unsigned char b) { edtShortCutKeyPress(b); });
        return 0;
    default:
        return std::nullopt;
    }
}
