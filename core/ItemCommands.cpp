#include "core/ItemCommands.h"

#include <windows.h>

#include "core/Resident.h"
#include "dialogs/VerInf.h"
#include "platform/ShellLaunch.h"

// The item editor, the list editor and the options dialog are not written
// yet; until they are, their commands do nothing.
void EditItemCommand() {}
void DeleteItemCommand() {}
void NewItemCommand() {}
void ItemListEditorCommand() {}
void OptionsCommand() {}

void VersionInfoCommand()
{
    TfrmVerInf form;
    form.ShowModal();
}

void HelpCommand()
{
    // Relative on purpose: the help is looked for beside the current folder.
    // A failure is not reported.
    ShellLaunch(MainWindow, nullptr, kHelpFile, "", nullptr, SW_SHOWNORMAL);
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
    default: return nullptr;
    }
}
