// What a folder's menu lists, and in what order: plain values, no windows.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct FolderEntry {
    std::wstring name;   // the file's own name in the folder
    std::wstring shown;  // the name as the shell shows it
    bool folder = false;
    bool hidden = false;
    bool system = false;
};

// Hidden and system entries left out; folders first, then files, each in
// the order `compare` gives their shown names (the shell's logical order on
// Windows: "2" before "10"); entries that compare equal keep their order.
using NameCompareFunction = int (*)(const wchar_t*, const wchar_t*);
void OrderFolderEntries(std::vector<FolderEntry>& entries, NameCompareFunction compare);

// A file's name as the shell shows it: without its extension when
// `hideExtension` says so for that extension (given without the dot, as
// written). A folder's name, a name without an extension and one that is all
// extension (".profile") are shown whole.
using HideExtensionFunction = bool (*)(std::wstring_view extension, void* context);
std::wstring ShownFileName(std::wstring_view name, bool folder, HideExtensionFunction hideExtension, void* context);
