#include "menu/LaunchRow.h"

#include <windows.h>

#include <string>

#include "core/CommandWindow.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/ShellHelpers.h"

namespace {

void OpenItem(int ref)
{
    if (!LaunchListsPresent() || ref >= LaunchItemCount())
        return;  // rows from a list that is no longer loaded
    const LaunchItem item = LaunchLists->Item(ref);
    // Empty parameters and folder go as empty strings: no verb, so the
    // file's default action runs, in the item's folder.
    ShellExecuteCall(nullptr, nullptr, item.Target.c_str(), item.CmdLine.c_str(), item.Directory.c_str(),
                     SW_SHOWNORMAL);
}

void ConfirmQuit()
{
    if (ShowMessageBox(CommandWindow, kQuitQuestion, kAppTitle, MB_OKCANCEL | MB_ICONWARNING) == IDOK)
        // Sent, not posted: the main window has shut everything down and set
        // QuitFlag before this returns.
        SendMessageA(MainWindow, WM_QUIT, 0, 0);
}

}  // namespace

void LaunchRow(int index)
{
    // A selection left beyond the rows by a rebuild chooses nothing.
    if (LaunchMenu && index >= 0 && index < LaunchMenu->RowCount()) {
        const std::int32_t ref = LaunchMenu->Items()[static_cast<std::size_t>(index)].Ref;
        if (ref >= 0)
            OpenItem(ref);
        else if (ref == kQuitRef)
            ConfirmQuit();
    }
    HandForegroundBack();
}
