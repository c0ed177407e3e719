#include "dialogs/StartMenuEntries.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Lower(std::wstring_view text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return lower;
}

}  // namespace

bool IsUninstaller(std::wstring_view target)
{
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring name = Lower(slash == std::wstring_view::npos ? target : target.substr(slash + 1));
    return name.starts_with(L"unins");  // "uninstall" begins so too
}

bool StartMenuMerger::Take(const StartMenuEntry& entry)
{
    if (entry.name.empty() || IsUninstaller(entry.target))
        return false;
    const std::wstring name = Lower(entry.name);
    if (entry.app) {
        // A desktop program's shortcut already stands for it.
        return names_.insert(name).second;
    }
    names_.insert(name);
    return places_.insert(Lower(entry.folder) + L'\\' + name).second;
}

std::size_t SortedPosition(const std::vector<std::wstring>& names, const std::wstring& name, const NameLess& less)
{
    return static_cast<std::size_t>(std::upper_bound(names.begin(), names.end(), name, less) - names.begin());
}

std::string FreeShortcutLetter(std::string_view name, const std::vector<std::string>& used)
{
    if (name.empty())
        return std::string();
    char c = name[0];
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
        return std::string();
    const std::string letter(1, c);
    return std::find(used.begin(), used.end(), letter) == used.end() ? letter : std::string();
}
