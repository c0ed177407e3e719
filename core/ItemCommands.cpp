#include "core/ItemCommands.h"

#include <windows.h>

#include "core/ProgramWindows.h"
#include "core/KeyWatcher.h"
#include "core/store/ItemPaths.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "dialogs/ItemEditor.h"
#include "dialogs/ItemListEditor.h"
#include "dialogs/Options.h"
#include "dialogs/VerInf.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/DialogFlag.h"
#include "platform/Dialogs.h"
#include "platform/HelpFile.h"
#include "platform/PathText.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"

namespace {

// The lists as Launch.ini has them now. In memory-saving mode they go
// whenever the program loses activation while no dialog is open, as during
// the delete question, and a hand edit may have changed the file since the
// program read it: either way they are read again before anything touches
// them. True when the file had been edited by hand.
bool EnsureLaunchLists()
{
    if (LaunchListsPresent())
        return TakeHandEdits();
    const bool edited = LaunchFileChanged();
    CreateLaunchLists();
    LoadLaunchList();
    return edited;
}

// The launch item of the selected row, or -1 for the cancel and quit rows.
int SelectedItem()
{
    if (!LaunchMenu)
        return -1;
    // The row was chosen from a list edited by hand since: the menu shows the
    // edited list for a fresh choice, and nothing is acted on.
    if (EnsureLaunchLists()) {
        ReloadLaunchMenu();
        return -1;
    }
    // The row's item, also while a search shows the items in another order.
    const int index = LaunchMenu->SelectedRef();
    return index >= 0 && index < LaunchItemCount() ? index : -1;
}

// The list as it was before a command changed it: what Launch.ini holds.
struct ListBefore {
    LaunchList list;
    std::string dblClickCommand;
};
ListBefore Snapshot() { return {*LaunchLists, DblClickCommand}; }

// After a change: the file first, then the strip and the menu. A save that
// fails has been reported; the list goes back to what the file still holds,
// so that the menu, the memory and the file agree.
void SaveAndReload(const ListBefore& before)
{
    if (!SaveLaunchList()) {
        *LaunchLists = before.list;
        DblClickCommand = before.dblClickCommand;
    }
    if (Settings.ListIconVisible)
        BuildIconStrip();
    ReloadLaunchMenu();
}

}  // namespace

void EditItemCommand()
{
    const int index = SelectedItem();
    if (index < 0)
        return;
    const ListBefore before = Snapshot();
    TfrmLchSet form;
    if (form.EditItem(index) == mrOk)
        SaveAndReload(before);
}

void DeleteItemCommand()
{
    const int index = SelectedItem();
    if (index < 0)
        return;
    const std::string question = LaunchLists->NameList[static_cast<std::size_t>(index)] + kDeleteQuestion;
    const int answer = ShowMessageBox(CommandWindow, question.c_str(), kDeleteCaption, MB_OKCANCEL | MB_ICONWARNING);
    if (answer != IDOK)
        return;
    // A click elsewhere while the box was open may have released the lists;
    // a hand edit meanwhile may have moved the item: then nothing goes.
    if (EnsureLaunchLists()) {
        ReloadLaunchMenu();
        return;
    }
    if (index >= LaunchItemCount())
        return;
    const ListBefore before = Snapshot();
    DeleteLaunchItem(index);
    SaveAndReload(before);
}

void NewItemCommand()
{
    EnsureLaunchLists();
    const ListBefore before = Snapshot();
    const int index = AddLaunchItem();
    {
        TfrmLchSet form;
        if (form.EditItem(index) == mrOk) {
            SaveAndReload(before);
        } else if (LaunchListsPresent() && !LaunchFileChanged() && index < LaunchItemCount()) {
            // The empty item added for the editor goes again; a list read
            // anew meanwhile never had it.
            DeleteLaunchItem(index);
        }
    }
    FocusLaunchMenu();
}

void ItemListEditorCommand()
{
    EnsureLaunchLists();
    {
        // The editor saves on Close and puts the list back on Cancel.
        TfrmItemListEditor form;
        form.ShowModal();
    }
    if (Settings.ListIconVisible)
        BuildIconStrip();
    ReloadLaunchMenu();
}

void OptionsCommand()
{
    {
        TfrmOption form;
        form.ShowModal();
    }
    // The keyboard is heard while the double press is watched; a press begun
    // on the old key must not finish on the new one.
    FollowDoubleKeySetting();
    if (!LaunchMenu)
        return;
    LaunchMenu->SetShowIcons(Settings.ListIconVisible);
    LaunchMenu->RebuildItems();
    if (Settings.ListIconVisible)
        BuildIconStrip();
    LaunchMenu->Paint();
}

void VersionInfoCommand()
{
    TfrmVerInf form;
    form.ShowModal();
}

void HelpCommand()
{
    // A failure is not reported.
    OpenHelp(MainWindow);
}

bool TargetHasLocation(const std::string& target)
{
    return ClassifyPath(ResolveItemPath(target)) == PathKind::Full;
}

void OpenLocationCommand()
{
    const int index = SelectedItem();
    if (index < 0)
        return;
    const std::string& target = LaunchLists->TargetList[static_cast<std::size_t>(index)];
    if (!TargetHasLocation(target))
        return;
    // A trailing backslash names the folder itself, shown selected in its parent.
    std::string path = ResolveItemPath(target);
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    try {
        if (const UniqueItemIdList item = PathToItemIdList(path))
            OpenFolderAndSelect(item.get(), 0, nullptr, 0);
    } catch (const ShellError&) {
        // A path the shell cannot parse (a drive that is gone) opens nothing.
    }
}

ItemCommand ItemCommandFor(int identifier)
{
    switch (identifier) {
    case 1: return EditItemCommand;
    case 2: return DeleteItemCommand;
    case 3: return NewItemCommand;
    case 4: return ItemListEditorCommand;
    case 5: return HelpCommand;
    case 6: return OptionsCommand;
    case 7: return VersionInfoCommand;
    case 8: return OpenLocationCommand;
    default: return nullptr;
    }
}
