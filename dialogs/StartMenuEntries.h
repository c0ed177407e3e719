// What the Start menu import lists, apart from any window: the shortcuts of
// the user's and all users' Start menus and the Store apps, each once, no
// uninstallers, in Explorer's order, and the shortcut letter an added item
// may take.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct StartMenuEntry {
    std::wstring name;      // the shortcut's file name without ".lnk", or the app's name
    std::wstring folder;    // the folder it sits in under Programs ("" at the top)
    std::wstring target;    // a path, or "shell:AppsFolder\<id>" for an app
    std::wstring arguments;
    std::wstring directory;
    int icon = 0;           // in the system's small image list
    bool app = false;
    std::wstring link;      // the shortcut file itself ("" for an app)
};

// A target whose file name begins "unins" or "uninstall", in any case.
bool IsUninstaller(std::wstring_view target);

// Takes entries as they are found, user's Start menu first: one that was
// taken before (the same folder and name, in any case), an uninstaller, or an
// app whose name a shortcut already has, is not taken again.
class StartMenuMerger {
public:
    bool Take(const StartMenuEntry& entry);

private:
    std::set<std::wstring> places_;
    std::set<std::wstring> names_;
};

// Where `name` goes among `names`, kept in order by `less` (Explorer's
// StrCmpLogicalW in the program): after its equals.
using NameLess = std::function<bool(const std::wstring&, const std::wstring&)>;
std::size_t SortedPosition(const std::vector<std::wstring>& names, const std::wstring& name, const NameLess& less);

// The shortcut letter for an added item: its name's first character when that
// is a letter or a digit no other item has (upper-cased), else none ("").
std::string FreeShortcutLetter(std::string_view name, const std::vector<std::string>& used);
