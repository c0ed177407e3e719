#include "menu/LaunchMenuWindow.h"

#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/LaunchFile.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "core/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/MenuPlacement.h"
#include "platform/WindowHelpers.h"

HWND PreviousForeground = nullptr;
ShowStepObserver ObserveShowStep = nullptr;

namespace {

bool IsOwnWindow(HWND hwnd)
{
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return hwnd && process == GetCurrentProcessId();
}

void StepDone(const char* step)
{
    if (ObserveShowStep)
        ObserveShowStep(step);
}

}  // namespace

void CreateLaunchMenu()
{
    LaunchMenu.reset();
    LaunchMenu = std::make_unique<TvlcrLaunchMenu>(CommandWindow);
    LaunchMenu->SetShowIcons(Settings.ListIconVisible);
    LaunchMenu->RebuildItems();
}

void ShowLaunchMenu()
{
    if (!LaunchMenu)
        return;
    MenuShown = true;
    if (Settings.ReloadItems) {
        // The list and the strip were released when the menu last closed.
        CreateLaunchLists();
        LoadLaunchList();
        LaunchMenu->RebuildItems();
        StepDone("reload list");
        if (Settings.ListIconVisible)
            LoadIconStrip();
        StepDone("load icon strip");
    }
    const RECT bar = GetTaskbarRect();
    const int height = ControlHeight(LaunchMenu->RowCount());
    const MenuOrigin at = PlaceMenu({bar.left, bar.top, bar.right, bar.bottom}, GetSystemMetrics(SM_CXSCREEN),
                                    GetSystemMetrics(SM_CYSCREEN), kMenuWidth, height);
    StepDone("place");
    SetWindowPos(LaunchMenu->Handle(), nullptr, 0, 0, kMenuWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    StepDone("size control");

    // Showing the menu again while it is up (after a change) must not make
    // the menu itself the window to hand the foreground back to.
    HWND foreground = GetForegroundWindow();
    if (!IsOwnWindow(foreground))
        PreviousForeground = foreground;
    StepDone("remember foreground");
    ForceForegroundWindow(CommandWindow);
    SetActiveWindow(CommandWindow);
    StepDone("force foreground");
    SetWindowPos(CommandWindow, HWND_TOPMOST, at.x, at.y, kMenuWidth, height, 0);
    StepDone("place window");
    ShowWindow(MainWindow, SW_HIDE);
    ShowWindow(MainWindow, SW_RESTORE);
    StepDone("main window hide and restore");
    ShowWindow(CommandWindow, SW_SHOW);
    StepDone("show window");
    // For Wine under an X window manager, which may place a window anew each
    // time it is mapped (openbox often puts it at the top left): the place is
    // asserted once more now that the window is on screen. On Windows the
    // window is already there and this changes nothing.
    SetWindowPos(CommandWindow, HWND_TOPMOST, at.x, at.y, kMenuWidth, height, SWP_NOACTIVATE);
    StepDone("place again");
    SetFocus(LaunchMenu->Handle());
    StepDone("focus");
}

void HandForegroundBack()
{
    ShowWindow(CommandWindow, SW_HIDE);
    SetForegroundWindow(PreviousForeground);
    // The hand-back takes the activation from the program, which closes the
    // menu's state. With nothing to hand back to, or a refusal, the program
    // keeps the activation and would never hear of it: the menu would not open
    // again until the user clicked another program.
    if (MenuShown && !DialogShown) {
        const HWND foreground = GetForegroundWindow();
        if (!foreground || IsOwnWindow(foreground))
            CloseLaunchMenuState();
    }
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
