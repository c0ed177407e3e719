#include "dialogs/ChosenFiles.h"

#include "core/store/Messages.h"
#include "dialogs/ItemListEditorText.h"
#include "platform/ModulePath.h"
#include "platform/Dialogs.h"
#include "platform/ShellHelpers.h"

std::optional<std::string> ChosenFiles::Take(const std::wstring& path)
{
    std::optional<std::string> exact = ExactAnsiPath(path);
    if (!exact)
        refused_.push_back(ShownPath(path));
    return exact;
}

std::optional<ChosenFiles::Item> ChosenFiles::TakeItem(const std::wstring& path)
{
    const std::optional<std::string> exact = Take(path);
    if (!exact)
        return std::nullopt;
    Item item{*exact, DroppedItemName(*exact, IsAnsiLeadByte)};
    if (IsShortcutPath(*exact, IsAnsiLeadByte)) {
        // One whose target the code page cannot hold is refused as such a file is.
        const std::wstring linked = ResolveShortcutW(path);
        const std::optional<std::string> target = linked.empty() ? std::string() : Take(linked);
        if (!target)
            return std::nullopt;
        item.target = *target;
    }
    return item;
}

void ChosenFiles::ReportRefused(HWND owner) const
{
    if (refused_.empty())
        return;
    std::string names;
    for (const std::string& name : refused_)
        names += (names.empty() ? "" : "\r\n") + name;
    ShowMessageBox(owner, FillIn(kMsgCannotRegister, names).c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
}
