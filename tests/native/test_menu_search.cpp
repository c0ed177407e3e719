#include <doctest/doctest.h>

#include "menu/FolderOrder.h"
#include "menu/MenuSearch.h"

TEST_CASE("typing finds: names that begin with the text, then a word that does, then the rest, each in list order")
{
    const std::vector<std::wstring> names{L"notepad",        L"my notes",   L"keynote",  L"note",
                                          L"(note) reader", L"calculator", L"計算機"};
    const std::vector<std::wstring> files{L"notepad.exe", L"mine.txt", L"keynote.exe", L"n.exe",
                                          L"reader.exe",  L"calc.exe",  L"calc.exe"};
    CHECK(FindTyped(names, files, L"note") == std::vector<int>{0, 3, 1, 4, 2});
    // A name in kanji is found by its target's file name, at the rank that gives.
    CHECK(FindTyped(names, files, L"calc") == std::vector<int>{5, 6});
    // A later occurrence that begins a word counts, though an earlier one is inside a word.
    CHECK(FindTyped({L"anote note"}, {L""}, L"note") == std::vector<int>{0});
    CHECK(FindTyped({L"xnote", L"x note"}, {L"", L""}, L"note") == std::vector<int>{1, 0});
    // Full-width and Japanese separators start words too.
    CHECK(FindTyped({L"ａｂｃ", L"（メモ）", L"日記・メモ", L"メモ帳"}, {L"", L"", L"", L""}, L"メモ") ==
          std::vector<int>{3, 1, 2});
    CHECK(FindTyped(names, files, L"zzz").empty());
    CHECK(FindTyped(names, files, L"").empty());
    // Fewer file names than names: the rest are matched by name alone.
    CHECK(FindTyped({L"a", L"b"}, {L"b.exe"}, L"b") == std::vector<int>{0, 1});
}

TEST_CASE("a target's file name")
{
    CHECK(TargetFileName(L"C:\\Tools\\calc.exe") == L"calc.exe");
    CHECK(TargetFileName(L"C:\\Tools\\") == L"Tools");
    CHECK(TargetFileName(L"https://example.com/docs/") == L"docs");
    CHECK(TargetFileName(L"notepad.exe") == L"notepad.exe");
    CHECK(TargetFileName(L"\\\\") == L"");
}

namespace {
int Plain(const wchar_t* a, const wchar_t* b) { return std::wstring_view(a).compare(b); }
bool HideTxt(std::wstring_view extension, void*) { return extension == L"txt" || extension == L"lnk"; }
}  // namespace

TEST_CASE("a folder's entries: hidden and system ones left out, folders first, each group in the given order")
{
    std::vector<FolderEntry> entries{
        {L"b.txt", L"b", false, false, false},      {L"z", L"z", true, false, false},
        {L"a.txt", L"a", false, false, false},      {L"secret", L"secret", false, true, false},
        {L"pagefile", L"pagefile", false, false, true}, {L"y", L"y", true, false, false},
        {L"a.ini", L"a", false, false, false},      {L"$Recycle", L"$Recycle", true, true, true},
    };
    OrderFolderEntries(entries, Plain);
    std::vector<std::wstring> order;
    for (const FolderEntry& e : entries)
        order.push_back(e.name);
    // Two files shown alike keep the folder's order.
    CHECK(order == std::vector<std::wstring>{L"y", L"z", L"a.txt", L"a.ini", L"b.txt"});
}

TEST_CASE("a file's shown name drops the extensions the shell hides, and only those")
{
    CHECK(ShownFileName(L"readme.txt", false, HideTxt, nullptr) == L"readme");
    CHECK(ShownFileName(L"Tool.lnk", false, HideTxt, nullptr) == L"Tool");
    CHECK(ShownFileName(L"tar.gz.txt", false, HideTxt, nullptr) == L"tar.gz");
    CHECK(ShownFileName(L"setup.exe", false, HideTxt, nullptr) == L"setup.exe");
    CHECK(ShownFileName(L"notes.txt", true, HideTxt, nullptr) == L"notes.txt");  // a folder
    CHECK(ShownFileName(L".txt", false, HideTxt, nullptr) == L".txt");
    CHECK(ShownFileName(L"trailing.", false, HideTxt, nullptr) == L"trailing.");
    CHECK(ShownFileName(L"README", false, HideTxt, nullptr) == L"README");
}
