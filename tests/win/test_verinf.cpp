// The About dialog: its layout read back from the real windows, its strip,
// its links, every way of closing it, and no handles left behind.
#include <doctest/doctest.h>

#include "controls/PlButton.h"
#include "core/BusyFlags.h"
#include "dialogs/VerInf.h"
#include "platform/Controls.h"
#include "platform/ShellHelpers.h"
#include "platform/WindowHelpers.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

std::vector<std::string> g_opened;

HINSTANCE WINAPI RecordOpen(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_opened.emplace_back(file ? file : "(null)");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}


// Windows of the thread, children included: the USER objects a form makes.
int CountThreadWindows()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM n) -> BOOL {
            auto* c = reinterpret_cast<int*>(n);
            ++*c;
            EnumChildWindows(hwnd, [](HWND, LPARAM m) -> BOOL { return ++*reinterpret_cast<int*>(m), TRUE; }, n);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

TEST_CASE("the About dialog: caption, size, controls at their places, version and links")
{
    TfrmVerInf form;
    CHECK(ControlText(form.Handle()) == "迅 のバージョン情報");
    RECT client;
    GetClientRect(form.Handle(), &client);
    CHECK(client.right == 274);
    CHECK(client.bottom == 129);
    CheckChildRect(form.Label1, 72, 16, 193, 24);
    CheckChildRect(form.lblVer, 64, 32, 193, 17);
    CheckChildRect(form.Label5, 123, 56, 142, 12);
    CheckChildRect(form.Label4, 52, 72, 213, 12);
    CheckChildRect(form.Label3, 16, 107, 153, 12);
    CheckChildRect(form.plButton1->Handle(), 184, 104, 81, 22);
    CHECK(ControlText(form.Label1) == " -velocara-");
    CHECK(ControlText(form.lblVer) == "Version 2.99");
    CHECK(ControlText(form.Label5) == "vlcr@example.com");
    CHECK(ControlText(form.Label4).rfind("https://www.example.com/", 0) == 0);
    CHECK(form.plButton1->CaptionA().Caption() == "OK");

    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.Label1, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    CHECK(std::string(lf.lfFaceName) == "Times New Roman");
    CHECK(lf.lfHeight == -16);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.Label5, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    CHECK(lf.lfUnderline);

    g_opened.clear();
    {
        const SeamOverride<ShellExecuteFunction> shell(ShellExecuteCall, RecordOpen);
        ClickAt(form.Label5, 100, 5);
        ClickAt(form.Label4, 200, 5);
    }
    REQUIRE(g_opened.size() == 2);
    // The mail address follows "mailto:" with no blank between.
    CHECK(g_opened[0] == "mailto:vlcr@example.com");
    CHECK(g_opened[1] == ControlText(form.Label4));
}

TEST_CASE("the About dialog paints its strip, its icon and its bevel")
{
    TfrmVerInf form;
    Canvas canvas(274, 129);
    PrintClient(form.Handle(), canvas);
    Canvas strip(60, 129);
    FillGradient(strip.dc(), true, RECT{0, 0, 60, 129}, 0x00FF7030, 0x00DDE7EC);
    for (int x = 0; x < 40; ++x)
        CHECK(canvas.at(x, 120) == strip.at(x, 120));
    CHECK(canvas.at(0, 0) == strip.at(0, 0));
    CHECK(canvas.at(100, 60) == 0x00DDE7EC);
    CHECK(canvas.at(100, 96) == GetSysColor(COLOR_BTNSHADOW));
    CHECK(canvas.at(100, 97) == GetSysColor(COLOR_BTNHIGHLIGHT));
    int iconPixels = 0;
    for (int y = 8; y < 40; ++y)
        for (int x = 60; x < 72; ++x)  // right of the strip, inside the icon
            iconPixels += canvas.at(x, y) != 0x00DDE7EC;
    CHECK(iconPixels > 30);
}

TEST_CASE("the About dialog closes with OK, Enter, Escape and the title bar, and clears DialogShown")
{
    DialogShown = false;
    int result = -1;
    SUBCASE("OK")
    {
        TfrmVerInf form;
        FormDriver driver({[&](Form&) { ClickAt(form.plButton1->Handle(), 10, 10); }});
        result = form.ShowModal();
        CHECK(result == mrOk);
    }
    SUBCASE("Enter on the focused OK button")
    {
        TfrmVerInf form;
        bool focused = false;
        FormDriver driver({[&](Form&) {
            focused = FocusedControl() == form.plButton1->Handle();
            PostKey(FocusedControl(), VK_RETURN);
        }});
        result = form.ShowModal();
        CHECK(focused);
        CHECK_FALSE(driver.TimedOut());
    }
    SUBCASE("Escape")
    {
        TfrmVerInf form;
        FormDriver driver({[&](Form&) { PostKey(FocusedControl(), VK_ESCAPE); }});
        result = form.ShowModal();
        CHECK_FALSE(driver.TimedOut());
    }
    SUBCASE("the title bar")
    {
        TfrmVerInf form;
        bool during = false;
        FormDriver driver({[&](Form& f) {
            during = DialogShown;
            SendMessageA(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }});
        result = form.ShowModal();
        CHECK(during);
        CHECK(result == mrCancel);
    }
    CHECK(result != -1);
    CHECK_FALSE(DialogShown);
}

TEST_CASE("opening and closing the About dialog 200 times leaves no GDI or USER objects behind")
{
    auto once = [] {
        TfrmVerInf form;
        FormDriver driver({[&](Form& f) { SendMessageA(f.Handle(), WM_CLOSE, 0, 0); }});
        form.ShowModal();
    };
    once();  // classes registered, fonts cached
    PumpMessages(50);
    const unsigned gdiBefore = CountGdiObjects();
    const int windowsBefore = CountThreadWindows();
    for (int i = 0; i < 200; ++i)
        once();
    PumpMessages(50);
    CHECK(CountGdiObjects() == gdiBefore);
    CHECK(CountThreadWindows() == windowsBefore);
}
