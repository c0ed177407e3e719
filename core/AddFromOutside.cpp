#include "core/AddFromOutside.h"

#include <windows.h>

#include "core/BusyFlags.h"
#include "core/ProgramWindows.h"
#include "core/TrayIcon.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "dialogs/ChosenFiles.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/DialogFlag.h"
#include "platform/ShellHelpers.h"

namespace {

// The list as Launch.ini holds it now, whether it was released (memory-saving
// mode) or edited by hand meanwhile.
void EnsureLists()
{
    if (LaunchListsPresent()) {
        TakeHandEdits();
        return;
    }
    CreateLaunchLists();
    LoadLaunchList();
}

}  // namespace

OutsideAdded AddPathsFromOutside(const std::vector<std::wstring>& paths)
{
    OutsideAdded added;
    if (paths.empty())
        return added;
    EnsureLists();
    ChosenFiles chosen;
    for (const std::wstring& path : paths) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            added.missing.push_back(ShownPath(path));
            continue;
        }
        // A shortcut adds what it starts, as one dropped on the editor does.
        const std::optional<ChosenFiles::Item> item = chosen.TakeItem(path);
        if (!item)
            continue;  // reported below, as a dropped file's would be
        SetLaunchItem(AddLaunchItem(), item->target, item->name, "", "", "");
        added.names.push_back(item->name);
    }
    if (!added.names.empty() && SaveLaunchList()) {
        if (LaunchMenu)
            LaunchMenu->RebuildItems();
        if (MenuShown)
            ReloadLaunchMenu();
        else if (Settings.ReloadItems)
            ReleaseLaunchData();  // the next showing reads list and icons anew
        else if (Settings.ListIconVisible)
            BuildIconStrip();
    }
    chosen.ReportRefused(nullptr);
    ShowTrayBalloon(AddedBalloonText(added));
    return added;
}

std::string AddedBalloonText(const OutsideAdded& added)
{
    std::string text;
    if (added.names.size() == 1)
        text = "「" + added.names[0] + "」を追加しました。";
    else if (!added.names.empty())
        text = std::to_string(added.names.size()) + " 個のアイテムを追加しました。";
    for (const std::string& missing : added.missing)
        text += (text.empty() ? "" : "\r\n") + std::string("見つからないため追加できません: ") + missing;
    return text;
}
