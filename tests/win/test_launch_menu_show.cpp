#include <doctest/doctest.h>
#include <windows.h>

#include "core/CommandWindow.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "tests/win/MenuTestSupport.h"

namespace {

RECT WindowRect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

bool Equal(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

void Hide()
{
    ShowWindow(CommandWindow, SW_HIDE);
    MenuShown = false;
}

}  // namespace

TEST_CASE("the menu stands against a taskbar on each side, or at the top right without one")
{
    MenuFixture f;
    f.Create(NumberedItems(5));
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    REQUIRE(sw == 1024);
    REQUIRE(sh == 768);
    const int h = 142;
    struct Side {
        const char* name;
        RECT bar;
        RECT menu;
    };
    const Side sides[] = {
        {"bottom", {0, 738, 1024, 768}, {844, 596, 1024, 738}},
        {"top", {0, 0, 1024, 30}, {844, 30, 1024, 30 + h}},
        {"left", {0, 0, 60, 768}, {60, 768 - h, 240, 768}},
        {"right", {964, 0, 1024, 768}, {784, 768 - h, 964, 768}},
    };
    for (const Side& s : sides) {
        FakeTaskbar bar(s.bar);
        ShowLaunchMenu();
        CHECK_MESSAGE(Equal(WindowRect(CommandWindow), s.menu), std::string(s.name), " ", Text(WindowRect(CommandWindow)));
        PumpMessages(100);  // the window manager has had its say
        CHECK_MESSAGE(Equal(WindowRect(CommandWindow), s.menu), std::string(s.name), " ", Text(WindowRect(CommandWindow)));
        Hide();
    }
    ShowLaunchMenu();
    CHECK(Equal(WindowRect(CommandWindow), RECT{844, 0, 1024, h}));
    Hide();
}

namespace {
// A second monitor right of the first, 1280 x 1024, its taskbar along the
// bottom (or none): the pointer stands on it whatever Xvfb's one screen says.
bool g_secondHasTaskbar = true;
bool OnSecondMonitor(POINT, MONITORINFO* info)
{
    info->rcMonitor = RECT{1024, 0, 2304, 1024};
    info->rcWork = RECT{1024, 0, 2304, g_secondHasTaskbar ? 994 : 1024};
    return true;
}
}  // namespace

TEST_CASE("on a second monitor the menu stands against that monitor's taskbar, and a form opens centred there")
{
    MenuFixture f;
    f.Create(NumberedItems(5));
    SeamOverride<MonitorAtFunction> monitor(MonitorAt, OnSecondMonitor);
    FakeTaskbar primary(RECT{0, 738, 1024, 768});  // the main taskbar stays on the first
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Shell_SecondaryTrayWnd";
    RegisterClassA(&wc);
    HWND second = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_SecondaryTrayWnd", "", WS_POPUP | WS_VISIBLE, 1024, 994,
                                  1280, 30, nullptr, nullptr, wc.hInstance, nullptr);
    REQUIRE(second);
    ShowLaunchMenu();
    CHECK_MESSAGE(Equal(WindowRect(CommandWindow), RECT{2124, 994 - 142, 2304, 994}), Text(WindowRect(CommandWindow)));
    // Its taskbar known by the work area alone, as Windows reports it.
    DestroyWindow(second);
    Hide();
    ShowLaunchMenu();
    CHECK_MESSAGE(Equal(WindowRect(CommandWindow), RECT{2124, 994 - 142, 2304, 994}), Text(WindowRect(CommandWindow)));
    // Without a taskbar of its own: that monitor's top right corner.
    g_secondHasTaskbar = false;
    Hide();
    ShowLaunchMenu();
    CHECK_MESSAGE(Equal(WindowRect(CommandWindow), RECT{2124, 0, 2304, 142}), Text(WindowRect(CommandWindow)));
    g_secondHasTaskbar = true;
    Hide();
}

TEST_CASE("shown: sized to the rows, topmost, the main window restored, the keys to the menu")
{
    MenuFixture f;
    f.Create(NumberedItems(3));
    LaunchMenu->SetSelectedIndex(2);
    ShowLaunchMenu();
    CHECK(MenuShown);
    CHECK(IsWindowVisible(CommandWindow));
    CHECK((GetWindowLongA(CommandWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    RECT client;
    GetClientRect(f.Control(), &client);
    CHECK(client.right == 180);
    CHECK(client.bottom == 102);
    const RECT menu = WindowRect(CommandWindow);
    CHECK(menu.right - menu.left == 180);
    CHECK(menu.bottom - menu.top == 102);
    // The control's row 0 starts at the window's top edge.
    CHECK(WindowRect(f.Control()).top == menu.top - 2);
    CHECK(IsWindowVisible(MainWindow));
    CHECK(GetFocus() == f.Control());
    CHECK(GetForegroundWindow() == CommandWindow);
    // It opens again on the row that was selected when it closed.
    SendMessageA(CommandWindow, WM_ACTIVATEAPP, 0, 0);
    CHECK_FALSE(IsWindowVisible(CommandWindow));
    ShowLaunchMenu();
    CHECK(LaunchMenu->SelectedIndex() == 2);
    Canvas c(kMenuWidth, 102);
    PrintClient(f.Control(), c);
    CHECK(c.at(5, RowTop(2) + 1) == 0x00FFE6C8);
}

TEST_CASE("memory-saving mode reads the list again at every showing")
{
    MenuFixture f;
    Settings.ReloadItems = true;
    f.Create(NumberedItems(2));
    FreeLaunchLists();
    auto items = NumberedItems(4);
    items[3].Name = "手で足した";
    f.WriteList(items);  // edited by hand while the menu is hidden
    ShowLaunchMenu();
    CHECK(LaunchListsPresent());
    CHECK(LaunchItemCount() == 4);
    REQUIRE(LaunchMenu->RowCount() == 6);
    CHECK(LaunchMenu->Items()[3].Caption == "手で足した");
    CHECK(WindowRect(CommandWindow).bottom - WindowRect(CommandWindow).top == 122);
}

TEST_CASE("the window the foreground goes back to is never one of the program's own")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    HWND remembered = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4321));
    PreviousForeground = remembered;
    SetForegroundWindow(MainWindow);
    ShowLaunchMenu();
    CHECK(PreviousForeground == remembered);
    // Shown again while up, as a reload does: the menu is in the foreground.
    REQUIRE(GetForegroundWindow() == CommandWindow);
    ShowLaunchMenu();
    CHECK(PreviousForeground == remembered);
}

TEST_CASE("reloading after a change rebuilds, resizes and repaints the menu")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    ShowLaunchMenu();
    CHECK(WindowRect(CommandWindow).bottom - WindowRect(CommandWindow).top == 82);
    f.WriteList(NumberedItems(6));
    ReloadLaunchMenu();
    CHECK(LaunchMenu->RowCount() == 8);
    CHECK(WindowRect(CommandWindow).bottom - WindowRect(CommandWindow).top == 162);
    CHECK(IsWindowVisible(CommandWindow));
    // The new rows are on screen, not only in the model.
    HDC dc = GetDC(f.Control());
    CHECK(GetPixel(dc, 5, RowTop(7) + 1) == 0x00C8E6FF);
    ReleaseDC(f.Control(), dc);
}
