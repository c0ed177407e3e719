#include <doctest/doctest.h>

#include <cwctype>

#include "dialogs/StartMenuEntries.h"

namespace {

StartMenuEntry Shortcut(const wchar_t* folder, const wchar_t* name, const wchar_t* target)
{
    return StartMenuEntry{name, folder, target, L"", L"", 0, false, L""};
}

// Digits by their value, letters in any case: the order Explorer shows.
bool LogicalLess(const std::wstring& a, const std::wstring& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::iswdigit(a[i]) && std::iswdigit(b[j])) {
            unsigned long x = 0, y = 0;
            while (i < a.size() && std::iswdigit(a[i]))
                x = x * 10 + static_cast<unsigned long>(a[i++] - L'0');
            while (j < b.size() && std::iswdigit(b[j]))
                y = y * 10 + static_cast<unsigned long>(b[j++] - L'0');
            if (x != y)
                return x < y;
            continue;
        }
        const wint_t p = std::towlower(static_cast<wint_t>(a[i++])), q = std::towlower(static_cast<wint_t>(b[j++]));
        if (p != q)
            return p < q;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

TEST_CASE("start menu import: uninstallers by their target's file name, in any case")
{
    CHECK(IsUninstaller(L"C:\\Program Files\\Tool\\unins000.exe"));
    CHECK(IsUninstaller(L"C:\\Program Files\\Tool\\Uninstall Tool.exe"));
    CHECK(IsUninstaller(L"UNINSTALL.EXE"));
    CHECK_FALSE(IsUninstaller(L"C:\\Uninstallers\\tool.exe"));  // a folder's name is not the file's
    CHECK_FALSE(IsUninstaller(L"C:\\Tools\\runinstaller.exe"));
    CHECK_FALSE(IsUninstaller(L""));
}

TEST_CASE("start menu import: the same shortcut in both Start menus once; apps only where no shortcut has the name")
{
    StartMenuMerger merger;
    CHECK(merger.Take(Shortcut(L"Tools", L"Editor", L"C:\\Tools\\editor.exe")));
    CHECK(merger.Take(Shortcut(L"", L"Editor", L"C:\\Tools\\editor.exe")));         // another folder: another row
    CHECK_FALSE(merger.Take(Shortcut(L"tools", L"EDITOR", L"C:\\Other\\editor.exe")));  // all users' copy
    CHECK_FALSE(merger.Take(Shortcut(L"Tools", L"Uninstall Editor", L"C:\\Tools\\unins000.exe")));
    CHECK_FALSE(merger.Take(Shortcut(L"Tools", L"", L"C:\\Tools\\x.exe")));
    StartMenuEntry calculator{L"電卓", L"", L"shell:AppsFolder\\Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", L"",
                              L"", 0, true, L""};
    CHECK(merger.Take(calculator));
    CHECK_FALSE(merger.Take(calculator));
    StartMenuEntry editorApp = calculator;
    editorApp.name = L"editor";
    CHECK_FALSE(merger.Take(editorApp));  // the desktop program's shortcut stands for it
}

TEST_CASE("start menu import: rows go where Explorer's order puts them")
{
    std::vector<std::wstring> names;
    for (const wchar_t* name : {L"Tool 10", L"tool 2", L"Alpha", L"Tool 1", L"beta", L"電卓"})
        names.insert(names.begin() + static_cast<std::ptrdiff_t>(SortedPosition(names, name, LogicalLess)), name);
    CHECK(names == std::vector<std::wstring>{L"Alpha", L"beta", L"Tool 1", L"tool 2", L"Tool 10", L"電卓"});
}

TEST_CASE("start menu import: a shortcut letter only where the name's first letter is free")
{
    CHECK(FreeShortcutLetter("editor", {"A", "B"}) == "E");
    CHECK(FreeShortcutLetter("Editor", {"E"}).empty());
    CHECK(FreeShortcutLetter("7-Zip", {}) == "7");
    CHECK(FreeShortcutLetter("電卓", {}).empty());
    CHECK(FreeShortcutLetter(" space", {}).empty());
    CHECK(FreeShortcutLetter("", {}).empty());
}
