#include "tests/win/MenuTestSupport.h"

#include <doctest/doctest.h>

#include "core/CommandWindow.h"
#include "core/store/LaunchFile.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/ShellHelpers.h"

std::string LaunchText(const std::vector<LaunchItem>& items, const std::string& dblClickCommand)
{
    std::string text = "VELOCARA_LAUNCHLIST_2\r\n" + dblClickCommand + "\r\n";
    for (const LaunchItem& i : items)
        text += i.Target + "\r\n" + i.Name + "\r\n" + i.CmdLine + "\r\n" + (i.ShortCut == NoShortCut ? "" : i.ShortCut) +
                "\r\n" + i.Directory + "\r\n";
    return text;
}

std::vector<LaunchItem> NumberedItems(int count)
{
    std::vector<LaunchItem> items;
    for (int k = 0; k < count; ++k) {
        const std::string n = std::to_string(k);
        items.push_back({"C:\\t\\item" + n + ".exe", "item" + n, "", std::string(1, static_cast<char>('A' + k % 26)), ""});
    }
    return items;
}

namespace {
std::vector<RecordedLaunch> g_launches;

HINSTANCE WINAPI RecordLaunch(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    auto text = [](LPCSTR s) { return s ? std::string(s) : std::string(); };
    g_launches.push_back({owner, verb == nullptr, file == nullptr, parameters == nullptr, directory == nullptr,
                          text(verb), text(file), text(parameters), text(directory), show,
                          IsWindowVisible(CommandWindow) != FALSE});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

std::vector<RecordedPopup> g_popups;

BOOL WINAPI RecordPopup(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    g_popups.push_back({menu, MenuEntries(menu), flags, x, y, owner});
    return FALSE;  // closed without a choice
}
}  // namespace

ShellRecorder::ShellRecorder() : seam_(ShellExecuteCall, RecordLaunch) { g_launches.clear(); }
const std::vector<RecordedLaunch>& ShellRecorder::launches() const { return g_launches; }

PopupRecorder::PopupRecorder() : seam_(TrackPopup, RecordPopup) { g_popups.clear(); }
const std::vector<RecordedPopup>& PopupRecorder::popups() const { return g_popups; }

std::vector<RecordedMenuEntry> MenuEntries(HMENU menu)
{
    std::vector<RecordedMenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        entries.push_back({info.wID, text, (info.fType & MFT_SEPARATOR) != 0});
    }
    return entries;
}

MenuFixture::MenuFixture()
{
    static HWND main = [] {
        ProgramInstance = GetModuleHandleA(nullptr);
        RegisterMainWindowClass();
        return CreateMainWindow();
    }();
    MainWindow = main;
    LaunchFileDirectory = dir.path();
    MenuShown = DialogShown = QuitFlag = false;
    DefaultSettings();
    if (!IsWindow(CommandWindow))
        CreateCommandWindow();
    PreviousForeground = nullptr;
}

MenuFixture::~MenuFixture()
{
    LaunchMenu.reset();
    ShowWindow(CommandWindow, SW_HIDE);
    FreeLaunchLists();
    DblClickCommand.clear();
    FreeIconStrip();
    PumpMessages(20);
    MenuShown = DialogShown = QuitFlag = false;
    LaunchFileDirectory.clear();
    PreviousForeground = nullptr;
    DefaultSettings();
}

void MenuFixture::WriteList(const std::vector<LaunchItem>& items, const std::string& dblClickCommand)
{
    WriteBytes(dir.file("Launch.ini"), LaunchText(items, dblClickCommand));
}

std::string MenuFixture::ReadList() const { return ReadBytes(dir.file("Launch.ini")); }

void MenuFixture::Create(const std::vector<LaunchItem>& items, const std::string& dblClickCommand)
{
    WriteList(items, dblClickCommand);
    CreateLaunchLists();
    LoadLaunchList();
    CreateLaunchMenu();
    REQUIRE(IsWindow(Control()));
    // Sized to its rows, as showing it would.
    SetWindowPos(Control(), nullptr, 0, 0, kMenuWidth, ControlHeight(LaunchMenu->RowCount()),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND MenuFixture::Control() const { return LaunchMenu ? LaunchMenu->Handle() : nullptr; }

void PrintClient(HWND hwnd, const Canvas& canvas)
{
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    GdiFlush();
}

COLORREF StripColour(int cell) { return RGB(40 + 20 * (cell % 10), 200 - 15 * (cell % 10), 90 + (cell * 37) % 150); }

HBITMAP MakeTestStrip(int cells)
{
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, 16 * cells, 32);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    const RECT image{0, 0, 16 * cells, 16};
    const RECT mask{0, 16, 16 * cells, 32};
    FillRect(dc, &image, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &mask, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int i = 0; i < cells; ++i) {
        HBRUSH colour = CreateSolidBrush(StripColour(i));
        const RECT block{16 * i + 5, 5, 16 * i + 11, 11};
        FillRect(dc, &block, colour);
        DeleteObject(colour);
        const RECT hole{16 * i + 5, 21, 16 * i + 11, 27};
        FillRect(dc, &hole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetPixel(dc, 16 * i + 2, 18, RGB(0, 0, 0));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return strip;
}

FakeTaskbar::FakeTaskbar(RECT r)
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

FakeTaskbar::~FakeTaskbar() { DestroyWindow(hwnd_); }

bool WaitForIconStrip()
{
    for (int waited = 0; waited < 10000 && !IconStripWhole(); waited += 10)
        PumpMessages(10);
    return IconStripWhole();
}
