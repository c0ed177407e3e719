#include "menu/LaunchRow.h"

#include <windows.h>

#include <string>

#include "core/ProgramWindows.h"
#include "core/store/ItemPaths.h"
#include "core/store/LaunchList.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/ShellHelpers.h"

namespace {

void OpenItem(int ref, bool elevated)
{
    if (!LaunchListsPresent() || ref >= LaunchItemCount())
        return;  // rows from a list that is no longer loaded
    const LaunchItem item = LaunchLists->Item(ref);
    // As the user wrote them: variables expanded, relative paths from the
    // program's folder. Empty parameters and folder go as empty strings; no
    // verb, so the file's default action runs, in the item's folder.
    const std::string target = ResolveItemPath(item.Target);
    const std::string parameters = ExpandVariables(item.CmdLine);
    const std::string directory = ResolveItemPath(item.Directory);
    // The user has just chosen it, so the program may pass the foreground on:
    // whatever shows the item (a browser already running, Explorer) comes to
    // the front over the window that the foreground goes back to. The
    // consent prompt of "runas" gets the menu as its owner so that it does
    // not open behind.
    AllowSetForegroundWindow(ASFW_ANY);
    ShellExecuteCall(elevated ? CommandWindow : nullptr, elevated ? "runas" : nullptr, target.c_str(),
                     parameters.c_str(), directory.c_str(), SW_SHOWNORMAL);
}

void ConfirmQuit()
{
    if (ShowMessageBox(CommandWindow, kQuitQuestion, kAppTitle, MB_OKCANCEL | MB_ICONWARNING) == IDOK)
        // Sent, not posted: the main window has shut everything down and set
        // QuitFlag before this returns.
        SendMessageA(MainWindow, WM_QUIT, 0, 0);
}

}  // namespace

void LaunchRow(int index, bool elevated)
{
    // A selection left beyond the rows by a rebuild chooses nothing.
    if (LaunchMenu && index >= 0 && index < LaunchMenu->RowCount()) {
        const std::int32_t ref = LaunchMenu->Items()[static_cast<std::size_t>(index)].Ref;
        if (ref >= 0)
            OpenItem(ref, elevated);
        else if (ref == kQuitRef)
            ConfirmQuit();
    }
    HandForegroundBack();
}
