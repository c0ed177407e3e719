#include "dialogs/Options.h"

#include <imm.h>

#include <algorithm>

#include "controls/PlButton.h"
#include "core/DoubleKeyWatch.h"
#include "core/store/Settings.h"
#include "dialogs/VerInf.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/HelpFile.h"
#include "platform/SendToShortcut.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "platform/Subclass.h"

namespace {

constexpr FormStyle kStyle{
    .caption = "オプション",
    .clientWidth = 401,
    .clientHeight = 217,
    .frame = FormFrame::Single,
    .color = kFormColor,
    .position = FormPosition::ScreenCenter,
    .keyPreview = false,
    .escapeCloses = true,  // as キャンセル does, from every control
};

constexpr int kStripWidth = 58;

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace


TfrmOption::TfrmOption() : Form(kStyle)
{
    MainMenu1 = CreateMenu();
    Help1 = CreatePopupMenu();
    AppendMenuA(Help1, MF_STRING, kH1, "迅ヘルプ(&H)");
    AppendMenuA(Help1, MF_SEPARATOR, 0, nullptr);  // N4
    AppendMenuA(Help1, MF_STRING, kAbout1, "バージョン情報(&V)");
    AppendMenuA(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(Help1), "ヘルプ(&H)");
    SetMenuBar(MainMenu1);

    AddTopBevel(0, 0, 401, 5);  // Bevel1, under the menu bar
    cbCtrl = AddCheckBox(56, 13, 321, 17, "指定キーの２回押しでポップアップメニューを表示する(&C)");
    SetHint(cbCtrl, "２回押しの速さは、ダブルクリックの速さの設定に依存します。");
    LabelStyle right;
    right.align = LabelAlign::Right;
    right.vertCenter = true;
    Label1 = AddLabel(88, 32, 33, 17, "キー：", right);
    edtKey = AddEdit(128, 32, 113, 20, "Ctrl");
    // Windows passes no keys on from an elevated window in front.
    SetHint(edtKey, "Backspaceで解除。管理者ウィンドウが前面の間は２回押し不可、アイコンで開けます。");
    cbStartup = AddCheckBox(56, 61, 321, 17, "毎回Windowsの起動時に迅を起動する(&S)");
    plButton1 = &AddDialogButton(8, 191, 121, 22, "plButton1", "キャンセル", mrCancel);
    SetAnchors(plButton1->Handle(), akLeft | akBottom);
    plButton2 = &AddDialogButton(272, 191, 121, 22, "plButton2", "閉じる", mrOk);
    SetAnchors(plButton2->Handle(), akRight | akBottom);
    cbReload = AddCheckBox(56, 88, 225, 17, "ランチメニューのメモリを節約(&E)");
    SetHint(cbReload, "チェックをはずすとポップアップのスピードは増しますが常駐時のメモリは増加します。");
    cbIcon = AddCheckBox(56, 112, 161, 17, "アイコンを表示(&I)");
    SetHint(cbIcon, "ランチメニューでアイコンを表示します");
    cbSendTo = AddCheckBox(56, 136, 225, 17, "「送る」メニューに登録する(&T)");
    SetHint(cbSendTo, "エクスプローラの「送る」からファイルをアイテムに追加できます");
    Label2 = AddLabel(88, 164, 33, 17, "配色：", right);
    cbTheme = AddDropDownList(128, 162, 209, 120, {"自動（タスクバーに合わせる）", "ライト", "ダーク"});
    SetHint(cbTheme, "ランチメニューの配色。自動ではタスクバーの明暗に合わせます");

    // A key is named, not typed: no input method composes into the field.
    ImmAssociateContext(edtKey, nullptr);
    SubclassControl(edtKey, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return KeyEditMessage(message, wParam, lParam);
    });
}

void TfrmOption::FormShow()
{
    // Setting a box runs its handler, as a click does.
    SetChecked(cbStartup, Settings.StartWithSystem);
    cbStartupClick();
    SetChecked(cbCtrl, Settings.DoubleKeyedPopup);
    cbCtrlClick();
    SetChecked(cbReload, Settings.ReloadItems);
    cbReloadClick();
    SetChecked(cbIcon, Settings.ListIconVisible);
    cbIconClick();
    SendMessageA(cbTheme, CB_SETCURSEL, Settings.MenuTheme <= 2 ? Settings.MenuTheme : 0, 0);
    // Whether the shortcut is there now, whoever made or removed it.
    SetChecked(cbSendTo, SendToShortcutExists());
    // Shows the stored key's name and puts a generic Shift, Ctrl or Alt code
    // or an unnamed code into the form the watcher can use; with no key
    // message to tell, the key state says the side.
    ShowKey(KeyDownCapture(Settings.PopupKey & 0xFFFF, AsyncKeyState, nullptr));
}

void TfrmOption::FormClose()
{
    // After "閉じる" this reads back what was just saved; after any other
    // close it throws the changes away.
    LoadSettings();
}

void TfrmOption::FormPaint(HDC dc)
{
    PaintAccentStrip(dc, kStripWidth);
}

void TfrmOption::FormFitText()
{
    // Check box captions take the free space to the form's edge; only then
    // does the form widen. The key's label grows towards the strip.
    constexpr int kMargin = 4, kWideAt = 250;
    GrowLeftToText(Label1, kStripWidth);
    GrowLeftToText(Label2, kStripWidth);
    const HWND boxes[] = {cbCtrl, cbStartup, cbReload, cbIcon, cbSendTo};
    int missing = 0;
    for (HWND box : boxes)
        missing = std::max(missing, GrowRightToText(box, ClientWidth96() - kMargin));
    Widen(kWideAt, missing);
}

void TfrmOption::Command(int id, int code, HWND control)
{
    if (!control) {
        if (id == kH1)
            H1Click();
        else if (id == kAbout1)
            About1Click();
        return;
    }
    if (control == cbTheme) {
        if (code == CBN_SELCHANGE)
            cbThemeChange();
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (control == cbCtrl)
        cbCtrlClick();
    else if (control == cbStartup)
        cbStartupClick();
    else if (control == cbReload)
        cbReloadClick();
    else if (control == cbIcon)
        cbIconClick();
    else if (control == plButton2->Handle())
        btnCloseClick();
    else if (control == plButton1->Handle())
        Button1Click();
}

bool TfrmOption::CaptureMessage(MSG& msg)
{
    // Every key pressed in the key field belongs to it: not to Tab, Enter or
    // Escape of the dialog manager, not to the mnemonics, not to the menu bar.
    if (msg.hwnd != edtKey || !IsKeyMessage(msg.message))
        return false;
    // Escape closes the dialog as everywhere else, and Backspace clears the
    // key, as it empties the item editor's shortcut: neither is a popup key.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        Close();
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_BACK) {
        ShowKey({0, kNoKeyName});
        return true;
    }
    // Tab can never be the popup key: Tab and Shift+Tab leave the field, so
    // that the keyboard alone gets out of it.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        if (HWND next = GetNextDlgTabItem(Handle(), edtKey, GetKeyState(VK_SHIFT) < 0))
            FocusControl(next);
        SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TfrmOption::cbCtrlClick() { Settings.DoubleKeyedPopup = IsChecked(cbCtrl); }
void TfrmOption::cbStartupClick() { Settings.StartWithSystem = IsChecked(cbStartup); }
void TfrmOption::cbReloadClick() { Settings.ReloadItems = IsChecked(cbReload); }
void TfrmOption::cbIconClick() { Settings.ListIconVisible = IsChecked(cbIcon); }
void TfrmOption::cbThemeChange()
{
    const auto chosen = SendMessageA(cbTheme, CB_GETCURSEL, 0, 0);
    Settings.MenuTheme = chosen >= 0 && chosen <= 2 ? static_cast<std::uint32_t>(chosen) : 0;
}

void TfrmOption::edtKeyKeyDown(WPARAM key, LPARAM flags)
{
    // The side of Shift, Ctrl and Alt from the key message itself (the
    // extended bit, the scan code): the key state's "pressed since" bit is
    // one that another program can take first.
    const int code = static_cast<int>(key);
    const int sided = SidedKey(code, static_cast<unsigned>((flags >> 16) & 0xFF), (flags & (1 << 24)) != 0);
    ShowKey(KeyDownCapture(sided != 0 ? sided : code, AsyncKeyState, nullptr));
}

void TfrmOption::edtKeyKeyPress(unsigned char typed)
{
    if (const auto key = CharCapture(Settings.PopupKey, typed))
        ShowKey(*key);
}

void TfrmOption::ShowKey(const CapturedKey& key)
{
    Settings.PopupKey = key.PopupKey;
    SetControlText(edtKey, key.Shown);
}

void TfrmOption::btnCloseClick()
{
    // A refused write is shown by the form's error boundary; the form still
    // closes, and its close reads back what the registry holds.
    SaveSettings();
    ApplySendTo();
    SetModalResult(mrOk);
}

void TfrmOption::ApplySendTo()
{
    const bool wanted = IsChecked(cbSendTo);
    if (wanted == SendToShortcutExists())
        return;
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (!(wanted ? CreateSendToShortcut(program) : RemoveSendToShortcut()))
        ShowMessageBox(Handle(), kMsgSendToFailed, kAppTitle, MB_OK | MB_ICONWARNING);
}

void TfrmOption::Button1Click()
{
    LoadSettings();
    SetModalResult(mrCancel);
}

void TfrmOption::H1Click() { OpenHelp(Handle()); }

void TfrmOption::About1Click()
{
    // The busy flag stays set for this form when the inner one closes.
    TfrmVerInf form;
    form.ShowModal();
}

std::optional<LRESULT> TfrmOption::KeyEditMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return ControlDefault(edtKey, message, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        edtKeyKeyDown(wParam, lParam);
        return 0;
    case WM_CHAR:
        ForEachCharByte(wParam, [this](unsigned char b) { edtKeyKeyPress(b); });
        return 0;
    case WM_SYSKEYUP:   // Alt or F10 let go would enter the menu bar
    case WM_SYSCHAR:    // Alt+letter would be a mnemonic
    case WM_SYSDEADCHAR:
    case WM_DEADCHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
        return 0;
    default:
        return std::nullopt;
    }
}
