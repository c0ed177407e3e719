#include "menu/LaunchMenuWindow.h"

#include "core/BusyFlags.h"
#include "core/ProgramWindows.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/FolderMenu.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/MenuPlacement.h"
#include "platform/Dpi.h"
#include "platform/WindowHelpers.h"

HWND PreviousForeground = nullptr;

namespace {

// Kept from the showing, so that a search that changes the rows places the
// menu on the same monitor.
MenuScreen ShownScreen;

ScreenRect ToScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool IsOwnWindow(HWND hwnd)
{
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return hwnd && process == GetCurrentProcessId();
}

}  // namespace

void CreateLaunchMenu()
{
    LaunchMenu.reset();
    LaunchMenu = std::make_unique<TvlcrLaunchMenu>(CommandWindow);
    LaunchMenu->SetShowIcons(Settings.ListIconVisible);
    LaunchMenu->RebuildItems();
    IconCellSize = LaunchMenu->Geometry().iconSize;
    IconCellDpi = LaunchMenu->Geometry().dpi;
    SetIconStripListener(LaunchMenu->Handle());
}

void RequestLaunchMenu()
{
    if (!MenuShown && !DialogShown)
        ShowLaunchMenu();
}

void ShowLaunchMenu()
{
    if (!LaunchMenu)
        return;
    MenuShown = true;
    const MenuScreen screen = MenuScreenNow();
    AdoptMenuDpi(screen);
    if (Settings.ReloadItems)
        ReloadForShowing();
    else
        TakeHandEdits();
    LaunchMenu->EndSearch();
    const MenuOrigin at = FitLaunchMenu(screen);
    TakeForegroundForMenu();
    PutLaunchMenuOnScreen(at);
    SetFocus(LaunchMenu->Handle());
    // A topmost menu that the keys do not reach would sit over the user's
    // work until a click elsewhere: it is asked once more, then given up.
    if (GetForegroundWindow() != CommandWindow) {
        ForceForegroundWindow(CommandWindow);
        SetFocus(LaunchMenu->Handle());
    }
    if (GetForegroundWindow() != CommandWindow && !DialogShown)
        CloseLaunchMenuState();
    else
        LaunchMenu->AnnounceShown();
}

void ReloadForShowing()
{
    // The list and the strip were released when the menu last closed.
    CreateLaunchLists();
    LoadLaunchList();
    LaunchMenu->RebuildItems();
    if (Settings.ListIconVisible)
        LoadIconStrip();
}

MenuScreen MenuScreenNow()
{
    MenuScreen screen;
    screen.area = MonitorAreaAtPointer();
    screen.bar = GetTaskbarRectOn(screen.area);
    return screen;
}

void AdoptMenuDpi(const MenuScreen& screen)
{
    const int dpi = MonitorDpi(MonitorFromRect(&screen.area.monitor, MONITOR_DEFAULTTOPRIMARY));
    LaunchMenu->SetGeometry(MenuGeometryFor(dpi, SmallIconSize(dpi)));
    const int cell = LaunchMenu->Geometry().iconSize;
    IconCellDpi = dpi;
    if (cell == IconCellSize)
        return;
    IconCellSize = cell;
    // The strip is made anew for the new cells; while the lists are released
    // (memory-saving mode) the reload that follows makes it.
    if (IconStrip && LaunchListsPresent())
        BuildIconStrip();
}

MenuOrigin FitLaunchMenu(const MenuScreen& screen)
{
    ShownScreen = screen;
    const MenuGeometry& g = LaunchMenu->Geometry();
    // Never taller than the monitor's work area: the rest of a long list
    // scrolls into view.
    const RECT& work = screen.area.work;
    LaunchMenu->LimitVisibleRows(g.RowsThatFit(work.bottom - work.top));
    const int height = g.ControlHeight(LaunchMenu->VisibleRows());
    const MenuOrigin at = PlaceMenu(ToScreenRect(screen.bar), ToScreenRect(screen.area.monitor), g.width, height);
    SetWindowPos(LaunchMenu->Handle(), nullptr, 0, -g.rowsTop, g.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return at;
}

void RefitLaunchMenu()
{
    if (!LaunchMenu || !IsWindowVisible(CommandWindow))
        return;
    const MenuOrigin at = FitLaunchMenu(ShownScreen);
    const MenuGeometry& g = LaunchMenu->Geometry();
    SetWindowPos(CommandWindow, HWND_TOPMOST, at.x, at.y, g.width, g.ControlHeight(LaunchMenu->VisibleRows()),
                 SWP_NOACTIVATE);
    LaunchMenu->DrawAllRows();
}

void TakeForegroundForMenu()
{
    // Showing the menu again while it is up (after a change) must not make
    // the menu itself the window to hand the foreground back to.
    HWND foreground = GetForegroundWindow();
    if (!IsOwnWindow(foreground))
        PreviousForeground = foreground;
    ForceForegroundWindow(CommandWindow);
    SetActiveWindow(CommandWindow);
}

void PutLaunchMenuOnScreen(MenuOrigin at)
{
    const MenuGeometry& g = LaunchMenu->Geometry();
    const int width = g.width;
    const int height = g.ControlHeight(LaunchMenu->VisibleRows());
    SetWindowPos(CommandWindow, HWND_TOPMOST, at.x, at.y, width, height, 0);
    ShowWindow(MainWindow, SW_HIDE);
    ShowWindow(MainWindow, SW_RESTORE);
    ShowWindow(CommandWindow, SW_SHOW);
    // For Wine under an X window manager, which may place a window anew each
    // time it is mapped (openbox often puts it at the top left): the place is
    // asserted once more now that the window is on screen. On Windows the
    // window is already there and this changes nothing.
    SetWindowPos(CommandWindow, HWND_TOPMOST, at.x, at.y, width, height, SWP_NOACTIVATE);
}

void HandForegroundBack()
{
    CloseFolderMenus();
    if (LaunchMenu)
        LaunchMenu->AnnounceHidden();
    ShowWindow(CommandWindow, SW_HIDE);
    SetForegroundWindow(PreviousForeground);
    // The menu's state ends with the menu, not with the loss of activation
    // that follows: that can come late, or not at all when there is nothing
    // to hand back to, and a request made meanwhile would find the menu
    // still "shown".
    if (MenuShown && !DialogShown)
        CloseLaunchMenuState();
}

void CloseLaunchMenuState()
{
    CloseFolderMenus();
    if (LaunchMenu)
        LaunchMenu->AnnounceHidden();
    MenuShown = false;
    if (Settings.ReloadItems)
        ReleaseLaunchData();
    ShowWindow(CommandWindow, SW_HIDE);
    HideMainWindow();
}

void ReleaseLaunchData()
{
    FreeLaunchLists();
    ReleaseIconStrip();
}

bool TakeHandEdits()
{
    if (!LaunchListsPresent() || !LaunchFileChanged())
        return false;
    if (LaunchMenu)
        LaunchMenu->RebuildItems();  // reads the file
    else
        LoadLaunchList();
    if (Settings.ListIconVisible && IconStrip)
        BuildIconStrip();
    return true;
}

void ReloadLaunchMenu()
{
    if (!LaunchMenu)
        return;
    LaunchMenu->RebuildItems();
    ShowLaunchMenu();
    BuildIconStrip();
    LaunchMenu->Paint();
}
