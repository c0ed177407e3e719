#include "core/TrayIcon.h"

#include "core/BusyFlags.h"
#include "core/LaunchList.h"
#include "menu/LaunchMenuWindow.h"

void TrayCallback(WPARAM, LPARAM lParam)
{
    if (lParam == WM_LBUTTONDBLCLK)
        RunDblClickCommand();
    if (lParam == WM_RBUTTONUP && !MenuShown && !DialogShown)
        ShowLaunchMenu();
}

void RunDblClickCommand()
{
    if (!DblClickCommand.empty())
        WinExec(DblClickCommand.c_str(), SW_SHOW);
}
