#include "dialogs/ChosenFiles.h"

#include "core/store/Messages.h"
#include "platform/Dialogs.h"
#include "platform/ShellHelpers.h"

std::optional<std::string> ChosenFiles::Take(const std::wstring& path)
{
    std::optional<std::string> exact = ExactAnsiPath(path);
    if (!exact)
        refused_.push_back(ShownPath(path));
    return exact;
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
