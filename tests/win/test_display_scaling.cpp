// Display scaling: these run at 96 DPI with the rest, and again in Wine
// prefixes at 144 and 192 DPI (VLCR_EXPECT_DPI names the one wanted), where
// every figure is the 96-DPI one scaled.
#include <doctest/doctest.h>
#include <windows.h>

#include <cstdlib>

#include "controls/PlButton.h"
#include "core/CommandWindow.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "core/Splash.h"
#include "core/TrayIcon.h"
#include "dialogs/ItemEditor.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dpi.h"
#include "platform/Scaling.h"
#include "platform/WindowHelpers.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/MenuTestSupport.h"

namespace {

int TestDpi()
{
    const int dpi = SystemDpi();
    if (const char* want = std::getenv("VLCR_EXPECT_DPI"))
        REQUIRE(dpi == std::atoi(want));  // a prefix that lost its setting tests nothing new
    return dpi;
}

int FontHeight(HWND hwnd)
{
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

}  // namespace

TEST_CASE("display scaling: the launch menu's rows, columns and icon cells at the system's DPI")
{
    const int dpi = TestDpi();
    MenuFixture f;
    f.Create(NumberedItems(3));  // targets that do not exist: every cell is the dot
    BuildIconStrip();
    REQUIRE(WaitForIconStrip());
    ShowLaunchMenu();
    const MenuGeometry& g = LaunchMenu->Geometry();
    CHECK(g == MenuGeometryFor(dpi, SmallIconSize(dpi)));
    CHECK(IconCellSize == SmallIconSize(dpi));
    RECT window{};
    GetWindowRect(CommandWindow, &window);
    CHECK(window.right - window.left == Scale(180, dpi));
    CHECK(window.bottom - window.top == Scale(2, dpi) + 5 * Scale(20, dpi));

    Canvas c(g.width, g.ControlHeight(5));
    PrintClient(f.Control(), c);
    // Row 0 is selected: its left column ends exactly where row 1's begins,
    // and rows 1 to 4 follow each other without a pixel of anything else.
    CHECK(c.at(1, g.RowTop(1) - 1) == kLeftColumnSelected);
    CHECK(c.count({0, g.RowTop(1), 1, g.RowTop(5)}, kLeftColumnNormal) == g.RowTop(5) - g.RowTop(1));
    // Row 1's icon column, and the red dot of its cell inside it.
    const int top = g.RowTop(1);
    CHECK(c.count({g.leftColumnRight, top, g.iconColumnRight, top + 1}, kIconColumnNormal) ==
          g.iconColumnRight - g.leftColumnRight);
    CHECK(c.at(g.iconColumnRight, top) != kIconColumnNormal);
    const RowLook look = DescribeRow(false, true, true, g);
    const RECT cell{look.iconX, top + look.iconY, look.iconX + g.iconSize, top + look.iconY + g.iconSize};
    const int dot = g.iconSize / 4;  // a quarter of the cell across
    CHECK(c.count(cell, kIconDotColour) >= dot * dot / 2);
}

TEST_CASE("display scaling: the item editor's client size, places and font")
{
    const int dpi = TestDpi();
    const auto px = [dpi](int length) { return Scale(length, dpi); };
    TfrmLchSet form;
    CHECK(form.Dpi() == dpi);
    RECT client{};
    GetClientRect(form.Handle(), &client);
    CHECK(client.right == px(560));
    CHECK(client.bottom == px(240));
    CheckChildRect(form.edtLaunch, px(160), px(64), px(345), px(20));
    CheckChildRect(form.plButton2->Handle(), px(512), px(63), px(41), px(22));
    CheckChildRect(form.cbDblClick, px(160), px(184), px(265), px(17));
    CheckChildRect(form.btnClose, px(437), px(212), px(113), px(21));
    CHECK(FontHeight(form.edtName) == px(-12));
    CHECK(FontHeight(form.Label1) == px(-12));
}

TEST_CASE("display scaling: a form told of another DPI takes the suggested place, lays itself out and makes its fonts anew")
{
    const int dpi = TestDpi();
    const int next = dpi + dpi / 2;
    TfrmLchSet form;
    RECT suggested{40, 30, 40 + Scale(600, next), 30 + Scale(300, next)};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(next, next), reinterpret_cast<LPARAM>(&suggested));
    CHECK(form.Dpi() == next);
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    CHECK(window.left == 40);
    CHECK(window.top == 30);
    CHECK(window.right - window.left == Scale(600, next));
    // The fields may stand further right where a caption needed room.
    const RECT launch = ChildRect(form.edtLaunch);
    CHECK(launch.left >= Scale(160, next));
    CHECK(launch.top == Scale(64, next));
    CHECK(launch.bottom - launch.top == Scale(20, next));
    CHECK(ChildRect(form.plButton2->Handle()).left - launch.right == Scale(512, next) - Scale(505, next));
    CheckChildRect(form.plButton1->Handle(), Scale(32, next), Scale(212, next), Scale(121, next), Scale(22, next));
    CHECK(FontHeight(form.edtName) == Scale(-12, next));
    CHECK(FontHeight(form.plButton1->Handle()) == Scale(-12, next));
    // A label that fits itself to its text has done so in the new font.
    RECT label{};
    GetClientRect(form.Label6, &label);
    CHECK(label.bottom >= Scale(12, next));
}

TEST_CASE("display scaling: 60 items on a 768-pixel screen fit the work area and scroll to the quit row")
{
    TestDpi();
    MenuFixture f;
    f.Create(NumberedItems(60));
    ShowLaunchMenu();
    const MenuGeometry& g = LaunchMenu->Geometry();
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    REQUIRE(work.bottom - work.top <= 768);
    RECT window{};
    GetWindowRect(CommandWindow, &window);
    CHECK(window.bottom - window.top <= work.bottom - work.top);
    CHECK(window.top >= work.top);
    const int shown = LaunchMenu->VisibleRows();
    CHECK(shown == g.RowsThatFit(work.bottom - work.top));
    CHECK(shown < 62);
    CHECK(LaunchMenu->FirstRow() == 0);

    // Up from the first row selects the quit row, and it comes into view at
    // the bottom.
    SendMessageA(f.Control(), WM_KEYDOWN, VK_UP, 0);
    CHECK(LaunchMenu->SelectedIndex() == 61);
    CHECK(LaunchMenu->FirstRow() == 62 - shown);
    Canvas c(g.width, g.ControlHeight(shown));
    PrintClient(f.Control(), c);
    CHECK(c.at(1, g.RowTop(shown - 1) + 1) == kLeftColumnSelected);
    CHECK(c.at(1, g.RowTop(shown - 2) + 1) == kLeftColumnNormal);
    // A click on the last row shown is the quit row's: it asks first.
    MessageBoxRecorder boxes(IDCANCEL);
    SendMessageA(f.Control(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, g.RowTop(shown - 1) + 2));
    SendMessageA(f.Control(), WM_LBUTTONUP, 0, MAKELPARAM(5, g.RowTop(shown - 1) + 2));
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].text == "終了しますか？");

    // Down wraps to the first row, which scrolls back; the wheel scrolls too.
    ShowLaunchMenu();
    LaunchMenu->SetSelectedIndex(61);
    SendMessageA(f.Control(), WM_KEYDOWN, VK_DOWN, 0);
    CHECK(LaunchMenu->SelectedIndex() == 0);
    CHECK(LaunchMenu->FirstRow() == 0);
    SendMessageA(f.Control(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    CHECK(LaunchMenu->FirstRow() > 0);
}

TEST_CASE("display scaling: the tray icon and the splash at the system's DPI")
{
    const int dpi = TestDpi();
    MenuFixture f;  // the main window
    AddTrayIcon();
    CHECK(IconPictureSize(TrayIconData.hIcon) == std::pair{SmallIconSize(dpi), SmallIconSize(dpi)});
    DeleteTrayIcon();
    ShowSplash();
    REQUIRE(SplashWindow != nullptr);
    RECT r{};
    GetWindowRect(SplashWindow, &r);
    CHECK(r.left == Scale(100, dpi));
    CHECK(r.right - r.left == Scale(260, dpi));
    CHECK(r.bottom - r.top == Scale(60, dpi));
    HideSplash(true);
}

TEST_CASE("display scaling: the program carries its icon drawn for each size the scaling asks for")
{
    // The icon group's entry chosen for each size is an image of exactly that
    // size: nothing is stretched from another.
    HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    REQUIRE(group);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
    REQUIRE(directory);
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        CAPTURE(size);
        const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceA(nullptr, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_ICON));
        REQUIRE(image);
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, image)));
        int width = 0;
        if (bytes[0] == 0x89)  // a PNG image: its width is in the header
            width = bytes[16] << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19];
        else
            width = reinterpret_cast<const BITMAPINFOHEADER*>(bytes)->biWidth;
        CHECK(width == size);
    }
}
