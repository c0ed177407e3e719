#include "menu/FolderOrder.h"

#include <algorithm>

void OrderFolderEntries(std::vector<FolderEntry>& entries, NameCompareFunction compare)
{
    std::erase_if(entries, [](const FolderEntry& e) { return e.hidden || e.system; });
    std::stable_sort(entries.begin(), entries.end(), [compare](const FolderEntry& a, const FolderEntry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return compare(a.shown.c_str(), b.shown.c_str()) < 0;
    });
}

std::wstring ShownFileName(std::wstring_view name, bool folder, HideExtensionFunction hideExtension, void* context)
{
    const std::size_t dot = name.rfind(L'.');
    if (folder || dot == std::wstring_view::npos || dot == 0 || dot + 1 == name.size())
        return std::wstring(name);
    if (!hideExtension(name.substr(dot + 1), context))
        return std::wstring(name);
    return std::wstring(name.substr(0, dot));
}
