// The options dialog through its real modal loop: layout read back from the
// windows, the boxes and the key field writing the live settings, "閉じる"
// saving and every other close reading the registry back, the key capture
// with the keys the dialog manager and the menu bar would otherwise take,
// the nested About dialog, and the options command's effect on the menu.
#include <doctest/doctest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <imm.h>

#include "controls/PlButton.h"
#include "core/BusyFlags.h"
#include "core/ItemCommands.h"
#include "core/KeyWatcher.h"
#include "core/store/Settings.h"
#include "dialogs/Options.h"
#include "dialogs/VerInf.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/SendToShortcut.h"
#include "platform/ShellHelpers.h"
#include "platform/WindowHelpers.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr const char* kKey = "Software\\Ternvale\\Velocara";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct CleanRegistry {
    CleanRegistry() { Clean(); }
    ~CleanRegistry() { Clean(); }
    static void Clean()
    {
        DeleteUserKey("Software\\Ternvale");
        HKEY run;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Velocara");
            RegCloseKey(run);
        }
    }
};

// The registry holds these options; the memory holds them too, as after start-up.
void StoreOptions(bool doubleKeyed, DWORD popupKey, bool reload, bool icons)
{
    SetUserDword(kKey, "DoubleKeyedPopup", doubleKeyed);
    SetUserDword(kKey, "PopupKey", popupKey);
    SetUserDword(kKey, "ReloadItems", reload);
    SetUserDword(kKey, "ListIconVisible", icons);
    LoadSettings();
}

// The left keys' state as the test sets it, for the generic side codes.
SHORT g_leftKeyState = 0;
SHORT WINAPI AnswerLeftKey(int virtualKey)
{
    return virtualKey == 160 || virtualKey == 162 || virtualKey == 164 ? g_leftKeyState : SHORT{0};
}
struct KeyStateAnswer {
    explicit KeyStateAnswer(std::int16_t value) { g_leftKeyState = value; }
    const SeamOverride<KeyStateFunction> seam{AsyncKeyStateCall, AnswerLeftKey};
};


std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

void Click(TplButton* button) { ClickAt(button->Handle(), 5, 5); }
void Click(HWND checkBox) { SendMessageA(checkBox, BM_CLICK, 0, 0); }

bool InMenuMode()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    return (info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE)) != 0;
}

// The dialog, shown with `steps` run inside its modal loop.
void RunDialog(TfrmOption& form, std::vector<FormDriver::Step> steps)
{
    FormDriver driver(std::move(steps));
    form.ShowModal();
    CHECK_FALSE(driver.TimedOut());
}

std::vector<std::string> g_opened;
HWND g_openOwner = nullptr;
HINSTANCE WINAPI RecordOpen(HWND owner, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR, INT)
{
    g_openOwner = owner;
    g_opened.emplace_back(std::string(file ? file : "(null)") + "|" + (parameters ? parameters : "(null)"));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

}  // namespace

TEST_CASE("options: caption, frame, menu bar, controls at their places with their texts")
{
    CleanRegistry clean;
    TfrmOption form;
    CHECK(ControlText(form.Handle()) == "オプション");
    RECT client;
    GetClientRect(form.Handle(), &client);
    CHECK(client.right == 401);
    CHECK(client.bottom == 217);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_STYLE));
    CHECK((style & WS_SYSMENU) != 0);
    CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);

    HMENU bar = GetMenu(form.Handle());
    REQUIRE(bar != nullptr);
    CHECK(GetMenuItemCount(bar) == 1);
    CHECK(MenuText(bar, 0) == "ヘルプ(&H)");
    HMENU help = GetSubMenu(bar, 0);
    REQUIRE(help != nullptr);
    CHECK(GetMenuItemCount(help) == 3);
    CHECK(MenuText(help, 0) == "迅ヘルプ(&H)");
    CHECK((GetMenuState(help, 1, MF_BYPOSITION) & MF_SEPARATOR) != 0);
    CHECK(MenuText(help, 2) == "バージョン情報(&V)");

    CheckChildRect(form.cbCtrl, 56, 13, 321, 17);
    CheckChildRect(form.Label1, 88, 32, 33, 17);
    CheckChildRect(form.edtKey, 128, 32, 113, 20);
    CheckChildRect(form.cbStartup, 56, 61, 321, 17);
    CheckChildRect(form.plButton1->Handle(), 8, 191, 121, 22);
    CheckChildRect(form.plButton2->Handle(), 272, 191, 121, 22);
    CheckChildRect(form.cbSendTo, 56, 136, 225, 17);
    CHECK(ControlText(form.cbSendTo) == "「送る」メニューに登録する(&T)");
    CheckChildRect(form.Label2, 88, 164, 33, 17);
    CHECK(ChildRect(form.cbTheme).left == 128);
    CHECK(ChildRect(form.cbTheme).top == 162);
    CHECK(ControlText(form.Label2) == "配色：");
    std::vector<std::string> themes;
    for (int i = 0; i < SendMessageA(form.cbTheme, CB_GETCOUNT, 0, 0); ++i) {
        char entry[64] = {};
        SendMessageA(form.cbTheme, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        themes.emplace_back(entry);
    }
    CHECK(themes == std::vector<std::string>{"自動（タスクバーに合わせる）", "ライト", "ダーク"});
    CheckChildRect(form.cbReload, 56, 88, 225, 17);
    CheckChildRect(form.cbIcon, 56, 112, 161, 17);
    CHECK(ControlText(form.cbCtrl) == "指定キーの２回押しでポップアップメニューを表示する(&C)");
    CHECK(ControlText(form.Label1) == "キー：");
    CHECK(ControlText(form.edtKey) == "Ctrl");
    CHECK(ControlText(form.cbStartup) == "毎回Windowsの起動時に迅を起動する(&S)");
    CHECK(ControlText(form.cbReload) == "ランチメニューのメモリを節約(&E)");
    CHECK(ControlText(form.cbIcon) == "アイコンを表示(&I)");
    CHECK(form.plButton1->CaptionA().Caption() == "キャンセル");
    CHECK(form.plButton2->CaptionA().Caption() == "閉じる");
    CHECK(form.plButton1->GradEndColor() == 0x00ACD5D0);
    CHECK(form.plButton2->GradEndColor() == 0x00ACD5D0);
    CHECK(form.plButton1->CaptionTop() == 6);
    CHECK(form.plButton2->CaptionTop() == 6);
    CHECK(form.plButton1->ModalResult() == 2);
    CHECK(form.plButton2->ModalResult() == 1);
    // No input method composes into the key field.
    CHECK(ImmGetContext(form.edtKey) == nullptr);

    // Tab order: cbCtrl, edtKey, cbStartup, キャンセル, 閉じる, cbReload, cbIcon, 送る, the colours.
    const HWND order[] = {form.cbCtrl,           form.edtKey,          form.cbStartup, form.plButton1->Handle(),
                          form.plButton2->Handle(), form.cbReload, form.cbIcon, form.cbSendTo, form.cbTheme};
    HWND at = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
    for (HWND expected : order) {
        CHECK(at == expected);
        at = GetNextDlgTabItem(form.Handle(), at, FALSE);
    }
    CHECK(at == order[0]);
}

TEST_CASE("options: with a wide font every check box caption is whole, the key's label right of the strip")
{
    CleanRegistry clean;
    TfrmOption form;
    GiveFont(form.Handle(), "ＭＳ ゴシック", 14);
    FormDriver driver({[&](Form& shown) { shown.SetModalResult(mrCancel); }});
    form.ShowModal();
    RECT client;
    GetClientRect(form.Handle(), &client);
    for (HWND box : {form.cbCtrl, form.cbStartup, form.cbReload, form.cbIcon, form.cbSendTo}) {
        CAPTURE(ControlText(box));
        const RECT r = ChildRect(box);
        CHECK(r.right - r.left >= CaptionWidth(box) + 13);
        CHECK(r.right <= client.right);
    }
    const RECT key = ChildRect(form.Label1);
    CHECK(key.right - key.left >= CaptionWidth(form.Label1));
    CHECK(key.left >= 58);
    CHECK(client.right - ChildRect(form.plButton2->Handle()).right == 8);
    CHECK(client.bottom - ChildRect(form.plButton2->Handle()).bottom == 4);
}

TEST_CASE("options: the strip on the left, the hints, and the buttons kept at the bottom corners")
{
    CleanRegistry clean;
    TfrmOption form;
    PixelCanvas canvas(401, 217, 0x00FF00FF);
    SendMessageA(form.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    // The strip is the program's gradient over x 0..57 at full height, blue
    // at the left edge to the form colour; right of it the form colour.
    PixelCanvas expected(401, 217, 0x00DDE7EC);
    FillGradient(expected.dc(), true, RECT{0, 0, 58, 217}, 0x00FF7030, 0x00DDE7EC);
    int differ = 0;
    for (int y = 2; y < 217; ++y)  // below the bevel's two lines
        for (int x = 0; x < 80; ++x)
            differ += canvas.at(x, y) != expected.at(x, y);
    CHECK(differ == 0);
    CHECK(GetBValue(canvas.at(0, 80)) >= 0xFC);
    CHECK(GetRValue(canvas.at(0, 80)) <= 0x33);
    CHECK(canvas.at(70, 80) == 0x00DDE7EC);
    const COLORREF mid = canvas.at(29, 80);
    CHECK(GetBValue(mid) < 0xFC);
    CHECK(GetRValue(mid) > 0x40);
    CHECK(GetRValue(mid) < 0xE0);

    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (std::string(cls) == TOOLTIPS_CLASSA)
                *reinterpret_cast<HWND*>(out) = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    REQUIRE(tips != nullptr);
    auto hint = [&](HWND control) {
        char text[256] = {};
        TTTOOLINFOA info{};
        info.cbSize = sizeof info;
        info.hwnd = form.Handle();
        info.uId = reinterpret_cast<UINT_PTR>(control);
        info.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        return std::string(text);
    };
    CHECK(hint(form.cbCtrl) == "２回押しの速さは、ダブルクリックの速さの設定に依存します。");
    CHECK(hint(form.edtKey) == "Backspaceで解除。管理者ウィンドウが前面の間は２回押し不可、アイコンで開けます。");
    CHECK(hint(form.cbReload) == "チェックをはずすとポップアップのスピードは増しますが常駐時のメモリは増加します。");
    CHECK(hint(form.cbIcon) == "ランチメニューでアイコンを表示します");
    CHECK(hint(form.cbSendTo) == "エクスプローラの「送る」からファイルをアイテムに追加できます");
    CHECK(hint(form.cbTheme) == "ランチメニューの配色。自動ではタスクバーの明暗に合わせます");

    // Anchors: a larger client keeps キャンセル at the left and 閉じる at the right.
    RECT frame;
    GetWindowRect(form.Handle(), &frame);
    SetWindowPos(form.Handle(), nullptr, 0, 0, frame.right - frame.left + 40, frame.bottom - frame.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckChildRect(form.plButton1->Handle(), 8, 221, 121, 22);
    CheckChildRect(form.plButton2->Handle(), 312, 221, 121, 22);
}

TEST_CASE("options: shown from the settings; each box writes the live settings at once; Cancel reads them back")
{
    CleanRegistry clean;
    StoreOptions(false, 123, true, false);
    TfrmOption form;
    bool shown[4] = {};
    std::string key;
    TSettings whileOpen{};
    RunDialog(form, {
        [&](Form&) {
            shown[0] = IsChecked(form.cbCtrl);
            shown[1] = IsChecked(form.cbStartup);
            shown[2] = IsChecked(form.cbReload);
            shown[3] = IsChecked(form.cbIcon);
            key = ControlText(form.edtKey);
            CHECK(DialogShown);
            Click(form.cbCtrl);
            Click(form.cbStartup);
            Click(form.cbReload);
            Click(form.cbIcon);
        },
        [&](Form&) {
            whileOpen = Settings;
            Click(form.plButton1);
        },
    });
    CHECK(shown[0] == false);
    CHECK(shown[1] == false);
    CHECK(shown[2] == true);
    CHECK(shown[3] == false);
    CHECK(key == "F12");
    CHECK(whileOpen.DoubleKeyedPopup);
    CHECK(whileOpen.StartWithSystem);
    CHECK_FALSE(whileOpen.ReloadItems);
    CHECK(whileOpen.ListIconVisible);
    // Cancel: the memory is what the registry holds, which is unchanged.
    CHECK_FALSE(Settings.DoubleKeyedPopup);
    CHECK_FALSE(Settings.StartWithSystem);
    CHECK(Settings.ReloadItems);
    CHECK_FALSE(Settings.ListIconVisible);
    CHECK(Settings.PopupKey == 123);
    CHECK(GetUserDword(kKey, "DoubleKeyedPopup") == 0);
    CHECK_FALSE(UserValueExists(kRun, "Velocara"));
    CHECK_FALSE(DialogShown);
}

TEST_CASE("options: icons unchecked and cancelled, by the button and by the title bar")
{
    for (const bool titleBar : {false, true}) {
        CAPTURE(titleBar);
        CleanRegistry clean;
        StoreOptions(true, 162, false, true);
        TfrmOption form;
        bool liveAfterClick = true;
        RunDialog(form, {
            [&](Form&) { Click(form.cbIcon); },
            [&](Form&) {
                liveAfterClick = Settings.ListIconVisible;
                if (titleBar)
                    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
                else
                    Click(form.plButton1);
            },
        });
        CHECK_FALSE(liveAfterClick);
        CHECK(Settings.ListIconVisible);
        CHECK(GetUserDword(kKey, "ListIconVisible") == 1);
    }
}

TEST_CASE("options: Close saves; the Run value is written and removed")
{
    CleanRegistry clean;
    StoreOptions(true, 162, false, true);
    {
        TfrmOption form;
        RunDialog(form, {
            [&](Form&) {
                Click(form.cbStartup);
                Click(form.cbReload);
            },
            [&](Form&) { Click(form.plButton2); },
        });
    }
    CHECK(GetUserString(kRun, "Velocara") == ExecutableDirectory() + "vlcr.exe");
    CHECK(GetUserDword(kKey, "ReloadItems") == 1);
    CHECK(Settings.StartWithSystem);
    CHECK(Settings.ReloadItems);
    {
        TfrmOption form;
        bool startupShown = false;
        RunDialog(form, {
            [&](Form&) {
                startupShown = IsChecked(form.cbStartup);
                Click(form.cbStartup);
            },
            [&](Form&) { Click(form.plButton2); },
        });
        CHECK(startupShown);
    }
    CHECK_FALSE(UserValueExists(kRun, "Velocara"));
    CHECK_FALSE(Settings.StartWithSystem);
    CHECK(GetUserDword(kKey, "ReloadItems") == 1);
}

TEST_CASE("options: a stored 49 shows None, is kept by Cancel and stored as 0 by Close")
{
    CleanRegistry clean;
    StoreOptions(true, 49, false, true);
    for (const bool close : {false, true}) {
        CAPTURE(close);
        TfrmOption form;
        std::string key;
        int live = -1;
        RunDialog(form, {
            [&](Form&) {
                key = ControlText(form.edtKey);
                live = Settings.PopupKey;
                Click(close ? form.plButton2 : form.plButton1);
            },
        });
        CHECK(key == "None");
        CHECK(live == 0);
        CHECK(GetUserDword(kKey, "PopupKey") == (close ? 0u : 49u));
        CHECK(Settings.PopupKey == (close ? 0 : 49));
    }
}

TEST_CASE("options: a stored generic Ctrl is shown by side and replaced; Cancel keeps 17")
{
    CleanRegistry clean;
    const struct {
        std::int16_t state;
        const char* shown;
        int key;
    } cases[] = {{1, "LeftCtrl", 162}, {static_cast<std::int16_t>(0x8001), "LeftCtrl", 162},
                 {static_cast<std::int16_t>(0x8000), "RightCtrl", 163}, {0, "RightCtrl", 163}};
    for (const auto& c : cases) {
        CAPTURE(c.state);
        StoreOptions(true, 17, false, true);
        KeyStateAnswer answer(c.state);
        TfrmOption form;
        std::string key;
        int live = -1;
        RunDialog(form, {[&](Form&) {
                             key = ControlText(form.edtKey);
                             live = Settings.PopupKey;
                             Click(form.plButton1);
                         }});
        CHECK(key == c.shown);
        CHECK(live == c.key);
        CHECK(Settings.PopupKey == 17);
    }
    // Closed with "閉じる", the side is stored.
    KeyStateAnswer answer(1);
    TfrmOption form;
    RunDialog(form, {[&](Form&) { Click(form.plButton2); }});
    CHECK(GetUserDword(kKey, "PopupKey") == 162);
}

TEST_CASE("options: the side of a Ctrl, Shift or Alt pressed in the key field comes from the key message")
{
    CleanRegistry clean;
    StoreOptions(true, 162, false, true);
    // The key state says left throughout: a program that took the "pressed
    // since" bit first would make it lie so.
    KeyStateAnswer answer(1);
    const struct {
        WPARAM key;
        unsigned scan;
        bool extended;
        const char* shown;
        int code;
    } presses[] = {{VK_CONTROL, 0x1D, true, "RightCtrl", 163}, {VK_CONTROL, 0x1D, false, "LeftCtrl", 162},
                   {VK_SHIFT, 0x36, false, "RightShift", 161}, {VK_MENU, 0x38, true, "RightAlt", 165}};
    for (const auto& p : presses) {
        CAPTURE(p.shown);
        TfrmOption form;
        std::string shown;
        int code = 0;
        RunDialog(form, {[&](Form&) { FocusControl(form.edtKey); },
                         [&](Form&) {
                             PostMessageA(form.edtKey, WM_KEYDOWN, p.key,
                                          1 | (static_cast<LPARAM>(p.scan) << 16) | (p.extended ? 1 << 24 : 0));
                         },
                         [&](Form&) {
                             shown = ControlText(form.edtKey);
                             code = Settings.PopupKey;
                             Click(form.plButton1);
                         }});
        CHECK(shown == p.shown);
        CHECK(code == p.code);
    }
}

TEST_CASE("options: Escape closes as キャンセル does, from a check box and from the key field, the key kept")
{
    CleanRegistry clean;
    for (const bool fromKeyField : {false, true}) {
        CAPTURE(fromKeyField);
        StoreOptions(true, 162, false, true);
        TfrmOption form;
        // The dialog ends at the Escape; a form left open would time out.
        RunDialog(form, {[&](Form&) {
                             Click(form.cbReload);  // a change that Escape throws away
                             FocusControl(fromKeyField ? form.edtKey : form.cbCtrl);
                         },
                         [&](Form&) { PostKey(fromKeyField ? form.edtKey : form.cbCtrl, VK_ESCAPE); }});
        CHECK(form.ModalResult() == mrCancel);
        CHECK(Settings.PopupKey == 162);
        CHECK_FALSE(Settings.ReloadItems);
        CHECK(GetUserDword(kKey, "PopupKey") == 162);
    }
}

TEST_CASE("options: keys pressed in the key field are captured, none taken by the dialog or its menu bar, Tab leaves")
{
    CleanRegistry clean;
    StoreOptions(true, 162, false, true);
    KeyStateAnswer answer(0);
    TfrmOption form;
    std::vector<std::pair<std::string, int>> seen;
    HWND focus = nullptr;
    bool menuMode = true;
    bool ctrlBox = false;
    auto record = [&] { seen.emplace_back(ControlText(form.edtKey), Settings.PopupKey); };
    RunDialog(form, {
        [&](Form&) { FocusControl(form.edtKey); },
        [&](Form&) { PostKey(form.edtKey, VK_F12); },
        [&](Form&) { record(); PostKey(form.edtKey, 'X'); },
        [&](Form&) { record(); PostKey(form.edtKey, VK_NUMPAD7); },
        [&](Form&) { record(); PostKey(form.edtKey, VK_TAB); },
        [&](Form&) {
            record();
            focus = GetFocus();  // Tab left the field, the key as it was
            FocusControl(form.edtKey);
            PostKey(form.edtKey, VK_RETURN);
        },
        [&](Form&) { record(); PostKey(form.edtKey, VK_BACK); },  // Backspace clears the key
        [&](Form&) {
            record();
            // Left Alt down and up, as the keyboard sends them (scan code 38,
            // not extended): the message tells the side.
            PostMessageA(form.edtKey, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
            PostMessageA(form.edtKey, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001u));
        },
        [&](Form&) {
            record();
            menuMode = InMenuMode();
            PostMessageA(form.edtKey, WM_SYSKEYDOWN, VK_F10, 0x00440001);
            PostMessageA(form.edtKey, WM_SYSKEYUP, VK_F10, static_cast<LPARAM>(0xC0440001u));
        },
        [&](Form&) {
            record();
            menuMode = menuMode || InMenuMode();
            PostMessageA(form.edtKey, WM_SYSKEYDOWN, 'C', 0x202E0001);
            PostAltKey(form.edtKey, 'c');  // the mnemonic of cbCtrl
        },
        [&](Form&) {
            record();
            ctrlBox = IsChecked(form.cbCtrl);
            PostMessageA(form.edtKey, WM_CHAR, '1', 1);  // 1 after a key without a name
        },
        [&](Form&) {
            record();
            PostKey(form.edtKey, VK_DELETE);
        },
        [&](Form&) {
            record();
            CHECK(form.Showing());
            Click(form.plButton2);
        },
    });
    const std::vector<std::pair<std::string, int>> expected{
        {"F12", 123},  {"X", 120},   {"Num 7", 103}, {"Num 7", 103},  {"None", 0},  {"None", 0},
        {"LeftAlt", 164}, {"F10", 121}, {"None", 0}, {"1", 49}, {"Delete", 46},
    };
    CHECK(seen == expected);
    CHECK(focus == form.cbStartup);
    CHECK_FALSE(menuMode);
    CHECK(ctrlBox);  // Alt+C in the key field is no mnemonic
    CHECK(GetUserDword(kKey, "PopupKey") == 46);
}

TEST_CASE("options: a key of the same press arrives as key-down, then character")
{
    CleanRegistry clean;
    StoreOptions(true, 162, false, true);
    TfrmOption form;
    std::string shown;
    int key = -1;
    RunDialog(form, {
        [&](Form&) {
            FocusControl(form.edtKey);
            // A named key followed by its character: the character is ignored.
            PostMessageA(form.edtKey, WM_KEYDOWN, VK_F9, 0x00430001);
            PostMessageA(form.edtKey, WM_CHAR, 'x', 0x00430001);
        },
        [&](Form&) {
            shown = ControlText(form.edtKey);
            key = Settings.PopupKey;
            Click(form.plButton1);
        },
    });
    CHECK(shown == "F9");
    CHECK(key == 120);
}

TEST_CASE("options: help opens the page beside the program over the dialog; About opens from the menu and "
          "DialogShown stays set")
{
    CleanRegistry clean;
    StoreOptions(true, 162, false, true);
    const SeamOverride<ShellExecuteFunction> shell(ShellExecuteCall, RecordOpen);
    g_opened.clear();
    // Started from the Run key, the current folder is the system's: no help
    // page there.
    char oldDir[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof oldDir, oldDir);
    TempFolder elsewhere;
    SetCurrentDirectoryA(elsewhere.path().c_str());
    TfrmOption form;
    bool aboutShown = false, flagInAbout = false, flagAfterAbout = false, optionsEnabled = true;
    {
        FormDriver driver({
            [&](Form&) {
                PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(form.Help1, 0), 0), 0);
            },
            [&](Form&) {
                PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(form.Help1, 2), 0), 0);
            },
            [&](Form& shown) {
                aboutShown = dynamic_cast<TfrmVerInf*>(&shown) != nullptr;
                flagInAbout = DialogShown;
                optionsEnabled = IsWindowEnabled(form.Handle());
                shown.SetModalResult(mrOk);
            },
            [&](Form&) {
                flagAfterAbout = DialogShown;
                Click(form.plButton1);
            },
        });
        form.ShowModal();
        CHECK_FALSE(driver.TimedOut());
        CHECK(driver.Shown().size() == 2);
    }
    SetCurrentDirectoryA(oldDir);
    REQUIRE(g_opened.size() == 1);
    CHECK(g_opened[0] == ExecutableDirectory() + "manual\\index.html|");
    CHECK(g_openOwner == form.Handle());
    CHECK(aboutShown);
    CHECK(flagInAbout);
    CHECK_FALSE(optionsEnabled);
    CHECK(flagAfterAbout);
    CHECK_FALSE(DialogShown);
}

TEST_CASE("options: a settings key the registry refuses is reported on Close, and the settings are what it holds")
{
    CleanRegistry clean;
    // Below a volatile key no lasting key can be made: the settings key is
    // refused.
    HKEY parent = nullptr;
    REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ternvale", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &parent, nullptr) == ERROR_SUCCESS);
    RegCloseKey(parent);
    LoadSettings();
    MessageBoxRecorder boxes;
    TfrmOption form;
    RunDialog(form, {
        [&](Form&) {
            Click(form.cbCtrl);
            Click(form.cbReload);
            Click(form.cbIcon);
        },
        [&](Form&) { Click(form.plButton2); },
    });
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].text == "'DoubleKeyedPopup' の設定に失敗しました");
    CHECK(boxes.boxes()[0].caption == kAppTitle);
    CHECK((boxes.boxes()[0].style & MB_ICONERROR) == MB_ICONERROR);
    CHECK_FALSE(form.Showing());
    // Nothing was stored: the settings are the defaults again.
    CHECK(Settings.DoubleKeyedPopup);
    CHECK_FALSE(Settings.ReloadItems);
    CHECK(Settings.ListIconVisible);
    CHECK_FALSE(UserKeyExists("Software\\Ternvale\\Velocara"));
    CHECK_FALSE(DialogShown);
}

TEST_CASE("form: a form sees its windows' messages before the dialog manager when it asks for them")
{
    class CaptureForm : public Form {
    public:
        explicit CaptureForm(bool capture)
            : Form(FormStyle{.caption = "capture", .clientWidth = 200, .clientHeight = 80}), capture_(capture)
        {
            edit = AddEdit(8, 8, 100, 20);
            box = AddCheckBox(8, 40, 150, 17, "チェック(&K)");
        }
        HWND edit = nullptr, box = nullptr;
        int seen = 0;

    protected:
        bool CaptureMessage(MSG& msg) override
        {
            if (msg.hwnd != edit || msg.message != WM_SYSCHAR)
                return false;
            ++seen;
            return capture_;
        }

    private:
        bool capture_;
    };
    for (const bool capture : {false, true}) {
        CAPTURE(capture);
        CaptureForm form(capture);
        bool checked = !capture;
        FormDriver driver({
            [&](Form&) {
                FocusControl(form.edit);
                PostAltKey(form.edit, 'k');
            },
            [&](Form& f) {
                checked = IsChecked(form.box);
                f.SetModalResult(mrOk);
            },
        });
        form.ShowModal();
        CHECK_FALSE(driver.TimedOut());
        CHECK(form.seen == 1);
        CHECK(checked == !capture);  // the mnemonic works unless the form took the message
    }
}

TEST_CASE("options command: the menu shows or hides its icons at once; the watcher starts afresh")
{
    CleanRegistry clean;
    MenuFixture f;  // settings at their defaults
    StoreOptions(true, 162, false, false);
    f.Create(NumberedItems(3));
    ShowLaunchMenu();
    REQUIRE(LaunchMenu);
    CHECK_FALSE(LaunchMenu->ShowIcons());
    auto dots = [&] {
        RECT r;
        GetClientRect(f.Control(), &r);
        Canvas c(r.right, r.bottom);
        PrintClient(f.Control(), c);
        int count = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                count += c.at(x, y) == kIconDotColour;
        return count;
    };
    CHECK(dots() == 0);
    // Each step runs once the input of the one before has gone through.
    auto run = [&](std::vector<std::function<void(TfrmOption&)>> acts) {
        std::vector<FormDriver::Step> steps;
        for (auto& act : acts)
            steps.push_back([act](Form& shown) { act(dynamic_cast<TfrmOption&>(shown)); });
        FormDriver driver(std::move(steps));
        OptionsCommand();
        CHECK_FALSE(driver.TimedOut());
    };
    DoubleKey.Key(VK_LCONTROL, true, GetTickCount(), TapRules{});  // a press under way on the old key
    run({
        [](TfrmOption& o) {
            Click(o.cbIcon);
            FocusControl(o.edtKey);
            PostKey(o.edtKey, VK_F12);
        },
        [](TfrmOption& o) { Click(o.plButton2); },
    });
    CHECK(LaunchMenu->ShowIcons());
    CHECK(Settings.PopupKey == 123);
    CHECK(GetUserDword(kKey, "PopupKey") == 123);
    CHECK_FALSE(DoubleKey.Pending());
    REQUIRE(WaitForIconStrip());  // the icons come in the background
    CHECK(dots() > 0);
    CHECK(MenuShown);
    CHECK_FALSE(DialogShown);

    run({[](TfrmOption& o) {
        Click(o.cbIcon);
        Click(o.plButton2);
    }});
    CHECK_FALSE(LaunchMenu->ShowIcons());
    CHECK(dots() == 0);
    CHECK(GetUserDword(kKey, "ListIconVisible") == 0);
}

TEST_CASE("options: 「送る」 makes the shortcut in Send To on 閉じる, shows it, and removes it; キャンセル leaves it")
{
    CleanRegistry clean;
    RemoveSendToShortcut();
    const auto closeWith = [](bool check, bool close) {
        TfrmOption form;
        bool shown = false;
        FormDriver driver({[&](Form&) {
            shown = IsChecked(form.cbSendTo);
            SetChecked(form.cbSendTo, check);
            SendMessageA((close ? form.plButton2 : form.plButton1)->Handle(), BM_CLICK, 0, 0);
        }});
        form.ShowModal();
        return shown;
    };
    CHECK_FALSE(closeWith(true, false));  // cancelled: nothing made
    CHECK_FALSE(SendToShortcutExists());
    CHECK_FALSE(closeWith(true, true));
    REQUIRE(SendToShortcutExists());
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path = ExactAnsiText(SendToShortcutPath()).value_or(std::string());
    CHECK(path.ends_with("\\迅 に登録.lnk"));
    CHECK(lstrcmpiA(ResolveShortcut(path).c_str(), program) == 0);
    CHECK(closeWith(false, true));  // shown as there; unchecked and closed: gone
    CHECK_FALSE(SendToShortcutExists());
}
