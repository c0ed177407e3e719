// The form layer: geometry, tab order, keys, closing, nesting, the busy flag
// and the error boundary, driven through the form's real modal loop.
#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "controls/Form.h"
#include "controls/PlButton.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "platform/Controls.h"
#include "platform/Raii.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr COLORREF kStripColour = 0x00123456;

FormStyle TestStyle(FormFrame frame = FormFrame::Dialog)
{
    FormStyle s;
    s.caption = "テスト画面";
    s.clientWidth = 560;
    s.clientHeight = 240;
    s.frame = frame;
    return s;
}

class TestForm : public Form {
public:
    explicit TestForm(const FormStyle& style = TestStyle()) : Form(style)
    {
        LabelStyle right;
        right.align = LabelAlign::Right;
        right.vertCenter = true;
        nameLabel = AddLabel(32, 40, 121, 17, "表示名(&N) :", right);
        name = AddEdit(160, 40, 177, 20);
        AddLabel(32, 64, 121, 17, "起動ファイル名(&L) :", right);
        target = AddEdit(160, 64, 345, 20);
        check = AddCheckBox(160, 184, 265, 17, "チェック(&K)");
        ok = AddPushButton(437, 212, 113, 21, "&OK", true);
        TplButton& c = AddGradientButton(32, 212, 121, 22, "plButton1");
        c.CaptionA().SetCaption("キャンセル");
        c.SetModalResult(mrCancel);
        cancel = &c;
        AddTopBevel(32, 204, 518, 9);
        SetHint(target, "フォルダやwebアドレスも設定できます");
    }

    HWND nameLabel, name, target, check, ok;
    TplButton* cancel;
    std::vector<int> commands;
    std::vector<WPARAM> previewed;
    bool consumeEscape = false;
    bool throwOnCommand = false;
    bool throwOnShow = false;
    int shows = 0, closes = 0, resizes = 0;
    bool dialogShownAtClose = false;

protected:
    void FormShow() override
    {
        ++shows;
        if (throwOnShow)
            throw std::runtime_error("'PopupKey' の書き込みに失敗しました");
    }
    void FormClose() override
    {
        ++closes;
        dialogShownAtClose = DialogShown;
    }
    void FormResize() override { ++resizes; }
    void FormPaint(HDC dc) override
    {
        RECT strip{0, 0, 55, 240};
        UniqueBrush brush(CreateSolidBrush(kStripColour));
        FillRect(dc, &strip, brush.get());
    }
    bool FormKeyDown(WPARAM key) override
    {
        previewed.push_back(key);
        return consumeEscape && key == VK_ESCAPE;
    }
    void Command(int id, int code, HWND) override
    {
        if (code != BN_CLICKED)
            return;  // the edits' notifications
        commands.push_back(id);
        if (throwOnCommand)
            throw std::runtime_error("'DoubleKeyedPopup' の書き込みに失敗しました");
    }
};

int IdOf(HWND hwnd) { return GetDlgCtrlID(hwnd); }

}  // namespace

TEST_CASE("a form has its exact client size, frame kind, font and control places")
{
    TestForm form;
    RECT client;
    GetClientRect(form.Handle(), &client);
    CHECK(client.right == 560);
    CHECK(client.bottom == 240);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_STYLE));
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((style & WS_SYSMENU) != 0);
    CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);

    const RECT edit = ChildRect(form.target);
    CHECK(edit.left == 160);
    CHECK(edit.top == 64);
    CHECK(edit.right - edit.left == 345);
    CHECK(edit.bottom - edit.top == 20);
    const RECT button = ChildRect(form.cancel->Handle());
    CHECK(button.left == 32);
    CHECK(button.top == 212);

    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.name, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    CHECK(std::string(lf.lfFaceName) == "ＭＳ Ｐゴシック");
    CHECK(lf.lfHeight == -12);
    CHECK(lf.lfCharSet == SHIFTJIS_CHARSET);

    SUBCASE("sizeable forms have both boxes; a menu bar keeps the client size")
    {
        TestForm sizeable(TestStyle(FormFrame::Sizeable));
        const auto s = static_cast<DWORD>(GetWindowLongPtrA(sizeable.Handle(), GWL_STYLE));
        CHECK((s & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
              (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

        class MenuForm : public TestForm {
        public:
            MenuForm() : TestForm(TestStyle(FormFrame::Single))
            {
                HMENU bar = CreateMenu();
                AppendMenuA(bar, MF_STRING, 900, "ヘルプ(&H)");
                SetMenuBar(bar);
            }
        } withMenu;
        CHECK(GetMenu(withMenu.Handle()) != nullptr);
        GetClientRect(withMenu.Handle(), &client);
        CHECK(client.right == 560);
        CHECK(client.bottom == 240);
        const auto m = static_cast<DWORD>(GetWindowLongPtrA(withMenu.Handle(), GWL_STYLE));
        CHECK((m & WS_THICKFRAME) == 0);
    }
}

TEST_CASE("Tab follows creation order, an accelerator focuses its edit, Enter presses the default button")
{
    TestForm form;
    std::vector<HWND> focus;
    FormDriver driver({
        [&](Form&) { focus.push_back(FocusedControl()); PostKey(FocusedControl(), VK_TAB); },
        [&](Form&) { focus.push_back(FocusedControl()); PostKey(FocusedControl(), VK_TAB); },
        [&](Form&) { focus.push_back(FocusedControl()); PostKey(FocusedControl(), VK_TAB); },
        [&](Form&) { focus.push_back(FocusedControl()); PostKey(FocusedControl(), VK_TAB); },
        [&](Form&) { focus.push_back(FocusedControl()); PostAltKey(FocusedControl(), 'n'); },
        [&](Form&) { focus.push_back(FocusedControl()); PostAltKey(FocusedControl(), 'l'); },
        [&](Form&) { focus.push_back(FocusedControl()); PostKey(FocusedControl(), VK_RETURN); },
        [&](Form& f) { f.SetModalResult(mrOk); },
    });
    const int result = form.ShowModal();
    CHECK_FALSE(driver.TimedOut());
    CHECK(result == mrOk);
    REQUIRE(focus.size() == 7);
    CHECK(focus[0] == form.name);
    CHECK(focus[1] == form.target);
    CHECK(focus[2] == form.check);
    CHECK(focus[3] == form.ok);
    CHECK(focus[4] == form.cancel->Handle());
    CHECK(focus[5] == form.name);    // Alt+N from the gradient button
    CHECK(focus[6] == form.target);  // Alt+L
    // Enter in the edit went to the default push button, once.
    CHECK(form.commands == std::vector<int>{IdOf(form.ok)});
}

TEST_CASE("Enter on a focused gradient button fires its click only; Escape goes to the Cancel button")
{
    TestForm form;
    form.cancel->SetCancel(true);
    int resultAfterEnter = -1;
    FormDriver driver({
        [&](Form&) { FocusControl(form.cancel->Handle()); },
        [&](Form&) { PostKey(form.cancel->Handle(), VK_RETURN); },
        [&](Form& f) {
            resultAfterEnter = f.ModalResult();
            FocusControl(form.name);
        },
        [&](Form&) { PostKey(form.name, VK_ESCAPE); },
    });
    const int result = form.ShowModal();
    CHECK_FALSE(driver.TimedOut());
    CHECK(resultAfterEnter == mrNone);
    CHECK(result == mrCancel);
    // The click from Enter, then the full click from Escape.
    CHECK(form.commands == std::vector<int>{IdOf(form.cancel->Handle()), IdOf(form.cancel->Handle())});
    CHECK(form.previewed.empty());  // no key preview asked for
}

TEST_CASE("a label reads as static text named by its caption, its access key apart")
{
    constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const ComScope com;  // as the resident program has it
    TestForm form;
    IAccessible* read = nullptr;
    REQUIRE(AccessibleObjectFromWindow(form.nameLabel, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&read)) ==
            S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    VARIANT role{};
    read->get_accRole(self, &role);
    CHECK(role.lVal == ROLE_SYSTEM_STATICTEXT);
    BSTR name = nullptr, key = nullptr;
    read->get_accName(self, &name);
    read->get_accKeyboardShortcut(self, &key);
    CHECK(std::wstring(name ? name : L"") == L"表示名(N) :");
    CHECK(std::wstring(key ? key : L"") == L"Alt+N");
    SysFreeString(name);
    SysFreeString(key);
    read->Release();
}

TEST_CASE("key preview sees key-down first and can keep Escape from the form")
{
    FormStyle style = TestStyle();
    style.keyPreview = true;
    TestForm form(style);
    form.cancel->SetCancel(true);
    form.consumeEscape = true;
    bool stillOpen = false;
    FormDriver driver({
        [&](Form&) { PostKey(form.name, VK_ESCAPE); },
        [&](Form& f) {
            stillOpen = f.ModalResult() == mrNone;
            PostKey(form.name, 'A');
        },
        [&](Form& f) { SendMessageA(f.Handle(), WM_CLOSE, 0, 0); },
    });
    CHECK(form.ShowModal() == mrCancel);
    CHECK_FALSE(driver.TimedOut());
    CHECK(stillOpen);
    CHECK(form.commands.empty());
    CHECK(form.previewed == std::vector<WPARAM>{VK_ESCAPE, 'A'});
}

TEST_CASE("DialogShown is set while a form shows and put back on every way out")
{
    DialogShown = false;
    SUBCASE("title bar close")
    {
        TestForm form;
        bool during = false;
        FormDriver driver({[&](Form& f) {
            during = DialogShown;
            SendMessageA(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }});
        CHECK(form.ShowModal() == mrCancel);
        CHECK(during);
        CHECK(form.closes == 1);
        CHECK(form.dialogShownAtClose);
    }
    SUBCASE("a button with a modal result")
    {
        TestForm form;
        FormDriver driver({[&](Form&) { ClickAt(form.cancel->Handle(), 10, 10); }});
        CHECK(form.ShowModal() == mrCancel);
        CHECK(form.commands == std::vector<int>{IdOf(form.cancel->Handle())});
    }
    SUBCASE("an error thrown when the form is shown")
    {
        MessageBoxRecorder boxes;
        TestForm form;
        form.throwOnShow = true;
        FormDriver driver({[&](Form& f) { f.SetModalResult(mrOk); }});
        CHECK(form.ShowModal() == mrOk);
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text == "'PopupKey' の書き込みに失敗しました");
        CHECK(boxes.boxes()[0].style == (MB_OK | MB_ICONERROR | MB_SETFOREGROUND));
    }
    CHECK_FALSE(DialogShown);

    SUBCASE("a flag set by an outer dialog stays set")
    {
        DialogShown = true;
        TestForm form;
        FormDriver driver({[&](Form& f) { f.Close(); }});
        form.ShowModal();
        CHECK(DialogShown);
        DialogShown = false;
    }
}

TEST_CASE("an error in a handler becomes the error message and the form goes on")
{
    MessageBoxRecorder boxes;
    TestForm form;
    form.throwOnCommand = true;
    bool open = false;
    FormDriver driver({
        [&](Form&) { ClickAt(form.check, 5, 5); },
        [&](Form& f) {
            open = f.Showing() && f.ModalResult() == mrNone;
            f.SetModalResult(mrOk);
        },
    });
    CHECK(form.ShowModal() == mrOk);
    CHECK(open);
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].text == "'DoubleKeyedPopup' の書き込みに失敗しました");
    CHECK(boxes.boxes()[0].caption == "迅 -velocara-");
    CHECK_FALSE(DialogShown);
}

TEST_CASE("a form opened from a form: the outer one is disabled, the flag stays until the outer closes")
{
    TestForm outer;
    bool outerEnabledDuringInner = true, flagBetween = false, outerEnabledAfter = false;
    int innerResult = -1;
    FormDriver driver({
        [&](Form&) {
            TestForm inner;
            innerResult = inner.ShowModal(outer.Handle());
            flagBetween = DialogShown;
            outerEnabledAfter = IsWindowEnabled(outer.Handle()) != FALSE;
        },
        [&](Form& f) {  // runs inside the inner form's loop
            outerEnabledDuringInner = IsWindowEnabled(outer.Handle()) != FALSE;
            f.SetModalResult(mrOk);
        },
        [&](Form&) { outer.SetModalResult(mrCancel); },
    });
    CHECK(outer.ShowModal() == mrCancel);
    CHECK_FALSE(driver.TimedOut());
    REQUIRE(driver.Shown().size() == 2);
    CHECK(innerResult == mrOk);
    CHECK_FALSE(outerEnabledDuringInner);
    CHECK(outerEnabledAfter);
    CHECK(flagBetween);
    CHECK_FALSE(DialogShown);
}

TEST_CASE("the launch menu on screen takes no input while a form is modal, and does again afterwards")
{
    MenuFixture fixture;
    fixture.Create(NumberedItems(3));
    ShowWindow(CommandWindow, SW_SHOWNOACTIVATE);
    REQUIRE(IsWindowEnabled(CommandWindow));
    bool enabledDuring = true;
    TestForm form;
    FormDriver driver({[&](Form& f) {
        enabledDuring = IsWindowEnabled(CommandWindow) != FALSE;
        f.Close();
    }});
    form.ShowModal();
    CHECK_FALSE(enabledDuring);
    CHECK(IsWindowEnabled(CommandWindow));
    ShowWindow(CommandWindow, SW_HIDE);
}

TEST_CASE("a form opens centred on the monitor of the window active before it, else on the pointer's")
{
    // The monitor is stood in for: one 1280 x 1024 to the right of Xvfb's screen.
    SeamOverride<MonitorAtFunction> monitor(MonitorAt, [](POINT, MONITORINFO* info) {
        info->rcMonitor = RECT{1024, 0, 2304, 1024};
        info->rcWork = RECT{1024, 0, 2304, 994};
        return true;
    });
    TestForm form;
    RECT placed{};
    FormDriver driver({[&](Form& f) {
        GetWindowRect(f.Handle(), &placed);
        f.Close();
    }});
    form.ShowModal();
    CHECK(std::abs((placed.left + placed.right) / 2 - 1664) <= 1);
    CHECK(std::abs((placed.top + placed.bottom) / 2 - 512) <= 1);
}

TEST_CASE("a centred form moved to a monitor of another DPI is centred there again at its new size")
{
    // The second monitor, at 150 %, stood in for as above.
    SeamOverride<MonitorAtFunction> monitor(MonitorAt, [](POINT, MONITORINFO* info) {
        info->rcMonitor = RECT{1024, 0, 2304, 1024};
        info->rcWork = RECT{1024, 0, 2304, 994};
        return true;
    });
    TestForm form;
    RECT before{}, after{}, dragged{};
    FormDriver driver({[&](Form& f) {
        GetWindowRect(f.Handle(), &before);
        // What the system suggests: the same corner, the size for 144 DPI.
        RECT suggested{before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                       before.top + (before.bottom - before.top) * 3 / 2};
        SendMessageA(f.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(f.Handle(), &after);
        // Once the user has moved it, the system's suggestion stands.
        SendMessageA(f.Handle(), WM_ENTERSIZEMOVE, 0, 0);
        RECT back{1100, 50, 1100 + (before.right - before.left), 50 + (before.bottom - before.top)};
        SendMessageA(f.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
        GetWindowRect(f.Handle(), &dragged);
        f.Close();
    }});
    form.ShowModal();
    CHECK(after.right - after.left > before.right - before.left);
    CHECK(std::abs((after.left + after.right) / 2 - 1664) <= 1);
    CHECK(std::abs((after.top + after.bottom) / 2 - 512) <= 1);
    CHECK(dragged.left == 1100);
    CHECK(dragged.top == 50);
}

TEST_CASE("a close sent from another thread ends the modal loop at once")
{
    TestForm form;
    std::thread closer;
    FormDriver driver(
        {[&](Form& f) {
            HWND hwnd = f.Handle();
            closer = std::thread([hwnd] { SendMessageA(hwnd, WM_CLOSE, 0, 0); });
        }},
        3000);
    CHECK(form.ShowModal() == mrCancel);
    CHECK_FALSE(driver.TimedOut());
    closer.join();
}

TEST_CASE("WM_QUIT ends the modal loop and is passed on")
{
    TestForm form;
    FormDriver driver({[&](Form&) { PostQuitMessage(7); }});
    CHECK(form.ShowModal() == mrCancel);
    CHECK(form.closes == 1);
    MSG msg;
    REQUIRE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(msg.wParam == 7);
}

TEST_CASE("anchors keep controls on their edges when a sizeable form is resized")
{
    class Anchored : public TestForm {
    public:
        Anchored() : TestForm(TestStyle(FormFrame::Sizeable))
        {
            SetAnchors(ok, akRight | akBottom);
            SetAnchors(target, akLeft | akTop | akRight);
        }
    } form;
    RECT frame;
    GetWindowRect(form.Handle(), &frame);
    SetWindowPos(form.Handle(), nullptr, 0, 0, frame.right - frame.left + 100, frame.bottom - frame.top + 50,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT ok = ChildRect(form.ok);
    CHECK(ok.left == 537);
    CHECK(ok.top == 262);
    CHECK(ok.right - ok.left == 113);
    const RECT edit = ChildRect(form.target);
    CHECK(edit.left == 160);
    CHECK(edit.right - edit.left == 445);
    CHECK(form.resizes >= 1);
}

TEST_CASE("labels paint over the form's own paint; disabled ones look grey; links click and show a hand")
{
    TestForm form;
    Canvas canvas(121, 17);
    PrintClient(form.nameLabel, canvas);
    // The label starts at x 32 over the form's strip (x < 55) and shows it.
    CHECK(canvas.at(0, 0) == kStripColour);
    CHECK(canvas.at(22, 0) == kStripColour);
    CHECK(canvas.at(120, 0) == kFormColor);
    int inked = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 30; x < 121; ++x)
            inked += canvas.at(x, y) == 0;
    CHECK(inked > 20);

    class Grey : public Form {
    public:
        Grey() : Form(TestStyle())
        {
            LabelStyle s;
            s.enabled = false;
            s.autoSize = true;
            label = AddLabel(208, 157, 10, 10, "Escキーで解除(ショートカットなし)", s);
            LabelStyle l;
            l.link = true;
            l.color = 0x00FF0000;
            l.font = MakeFont("ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, true);
            link = AddLabel(10, 10, 142, 12, "vlcr@example.com", l);
        }
        void Command(int, int code, HWND control) override { clicks += control == link && code == STN_CLICKED; }
        HWND label, link;
        int clicks = 0;
    } grey;
    const RECT r = ChildRect(grey.label);
    CHECK(r.right - r.left > 100);  // auto size followed the text
    CHECK(r.bottom - r.top >= 12);
    Canvas g(r.right - r.left, r.bottom - r.top);
    PrintClient(grey.label, g);
    int shadow = 0, highlight = 0, black = 0;
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x) {
            shadow += g.at(x, y) == GetSysColor(COLOR_BTNSHADOW);
            highlight += g.at(x, y) == GetSysColor(COLOR_BTNHIGHLIGHT);
            black += g.at(x, y) == 0;
        }
    CHECK(shadow > 20);
    CHECK(highlight > 20);
    CHECK(black == 0);

    // The link's underline is on the label, even where the substitute font is
    // taller than the label's 12 rows: one row holds a long blue run.
    Canvas l(142, 12);
    PrintClient(grey.link, l);
    int longestRun = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0, run = 0; x < 142; ++x) {
            run = l.at(x, y) == 0x00FF0000 ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
        }
    CHECK(longestRun > 60);

    ClickAt(grey.link, 5, 5);
    CHECK(grey.clicks == 1);
    SendMessageA(grey.link, WM_SETCURSOR, reinterpret_cast<WPARAM>(grey.link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CHECK(GetCursor() == LoadCursorA(nullptr, IDC_HAND));
    // A press that leaves the label before it is released clicks nothing.
    SendMessageA(grey.link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(grey.link, WM_LBUTTONUP, 0, MAKELPARAM(400, 5));
    CHECK(grey.clicks == 1);
}

TEST_CASE("the form paints its bevel and hints show as tooltips")
{
    TestForm form;
    Canvas canvas(560, 240);
    PrintClient(form.Handle(), canvas);
    CHECK(canvas.at(100, 204) == GetSysColor(COLOR_BTNSHADOW));
    CHECK(canvas.at(100, 205) == GetSysColor(COLOR_BTNHIGHLIGHT));
    CHECK(canvas.at(100, 206) == kFormColor);
    CHECK(canvas.at(10, 100) == kStripColour);

    struct Find {
        HWND owner, tooltip;
    } find{form.Handle(), nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            auto* f = reinterpret_cast<Find*>(out);
            char cls[64];
            GetClassNameA(hwnd, cls, sizeof cls);
            if (std::string(cls) == TOOLTIPS_CLASSA && GetWindow(hwnd, GW_OWNER) == f->owner)
                f->tooltip = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    HWND tooltip = find.tooltip;
    REQUIRE(tooltip != nullptr);
    TTTOOLINFOA info{};
    char text[128] = {};
    info.cbSize = sizeof info;
    info.hwnd = GetWindow(tooltip, GW_OWNER);
    info.uId = reinterpret_cast<UINT_PTR>(form.target);
    info.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    CHECK(std::string(text) == "フォルダやwebアドレスも設定できます");
}
