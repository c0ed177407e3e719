#include <doctest/doctest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>

#include "core/CommandWindow.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/FolderMenu.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "menu/NetworkItems.h"
#include "platform/BackgroundJob.h"
#include "platform/Raii.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "tests/win/MenuTestSupport.h"

namespace {

std::wstring W8(std::u8string_view utf8)
{
    const auto* bytes = reinterpret_cast<const char*>(utf8.data());
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

void Key(WPARAM vk) { SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, vk, 0); }

// The folder is read on a thread of its own: its answer is waited for.
TvlcrFolderMenu* ReadMenuAt(int level)
{
    for (int waited = 0; waited < 5000; waited += 10) {
        TvlcrFolderMenu* menu = FolderMenuAt(level);
        if (menu && menu->ReadState() != TvlcrFolderMenu::State::Reading)
            return menu;
        PumpMessages(10);
    }
    return nullptr;
}

// Which items are folders is found in the background too.
bool BecomesFolderRow(int row)
{
    for (int waited = 0; waited < 5000 && !LaunchMenu->IsFolderRow(row); waited += 10)
        PumpMessages(10);
    return LaunchMenu->IsFolderRow(row);
}

std::vector<std::wstring> ShownNames(const TvlcrFolderMenu& menu)
{
    std::vector<std::wstring> names;
    for (const FolderEntry& e : menu.Entries())
        names.push_back(e.shown);
    return names;
}

struct WideLaunch {
    bool runas;
    std::wstring file, directory;
};
std::vector<WideLaunch> g_wide;
HINSTANCE WINAPI RecordWide(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR directory, INT)
{
    g_wide.push_back({verb && std::wstring(verb) == L"runas", file ? file : L"", directory ? directory : L""});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

}  // namespace

TEST_CASE("a folder row opens its folder as a menu: folders first, Explorer's order and names, moved in and launched")
{
    MenuFixture f;
    const std::string root = f.dir.file("Tools");
    const std::wstring wroot = Widen(root);
    CreateDirectoryW(wroot.c_str(), nullptr);
    for (const wchar_t* sub : {L"b", L"a10", L"a2"})
        CreateDirectoryW((wroot + L"\\" + sub).c_str(), nullptr);
    MakeFile(wroot + L"\\a2\\inner.exe");
    const std::wstring hangul = wroot + L"\\" + W8(u8"\uD55C\uAE00 \u2713.exe");
    for (const wchar_t* file : {L"file10.exe", L"file2.exe", L"notes.txt"})
        MakeFile(wroot + L"\\" + file);
    MakeFile(hangul);
    MakeFile(wroot + L"\\hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(wroot + L"\\system.exe", FILE_ATTRIBUTE_SYSTEM);
    f.Create({{"C:\\t\\a.exe", "plain", "", "", ""}, {root, "Tools", "", "", ""}});
    g_wide.clear();
    SeamOverride<WideShellExecuteFunction> shell(WideShellExecuteCall, RecordWide);
    ShowLaunchMenu();
    REQUIRE(BecomesFolderRow(1));
    CHECK_FALSE(LaunchMenu->IsFolderRow(0));

    Key(VK_RIGHT);  // not a folder row: nothing opens
    CHECK_FALSE(FolderMenusOpen());
    Key(VK_DOWN);
    Key(VK_RIGHT);
    TvlcrFolderMenu* menu = ReadMenuAt(0);
    REQUIRE(menu);
    REQUIRE(menu->ReadState() == TvlcrFolderMenu::State::Listed);
    // A text file is shown as Explorer shows it, without its extension; the
    // wide name keeps every character.
    const std::vector<std::wstring> names = ShownNames(*menu);
    REQUIRE(names.size() == 7);
    CHECK(std::vector<std::wstring>(names.begin(), names.begin() + 5) ==
          std::vector<std::wstring>{L"a2", L"a10", L"b", L"file2.exe", L"file10.exe"});
    CHECK(std::find(names.begin(), names.end(), L"notes") != names.end());
    CHECK(std::find(names.begin(), names.end(), W8(u8"\uD55C\uAE00 \u2713.exe")) != names.end());
    CHECK(IsWindowVisible(menu->Handle()));
    CHECK(menu->SelectedIndex() == 0);  // opened by the keyboard
    // Owned by the menu's window, so that it goes with it and stays above it.
    CHECK(GetWindow(menu->Handle(), GW_OWNER) == CommandWindow);
    // Beside the launch menu, on its right or its left.
    RECT outer{}, inner{};
    GetWindowRect(CommandWindow, &outer);
    GetWindowRect(menu->Handle(), &inner);
    CHECK((inner.left == outer.right || inner.right == outer.left));

    // Keys go to the folder menu; the launch menu keeps its row.
    Key(VK_END);
    CHECK(menu->SelectedIndex() == 6);
    Key(VK_HOME);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    CHECK(menu->SelectedIndex() == 3);
    CHECK(LaunchMenu->SelectedIndex() == 1);

    SUBCASE("Right opens a subfolder; Left closes only that level")
    {
        Key(VK_HOME);
        Key(VK_RIGHT);
        TvlcrFolderMenu* deeper = ReadMenuAt(1);
        REQUIRE(deeper);
        CHECK(ShownNames(*deeper) == std::vector<std::wstring>{L"inner.exe"});
        CHECK(GetWindow(deeper->Handle(), GW_OWNER) == CommandWindow);
        Key(VK_LEFT);
        CHECK(FolderMenuAt(1) == nullptr);
        REQUIRE(FolderMenuAt(0) == menu);
        CHECK(menu->SelectedIndex() == 0);
        Key(VK_ESCAPE);  // the folder's level
        CHECK_FALSE(FolderMenusOpen());
        CHECK(IsWindowVisible(CommandWindow));
        Key(VK_ESCAPE);  // then the menu
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    SUBCASE("Enter starts the file by its wide path in its own folder, and every menu closes")
    {
        Key(VK_RETURN);
        REQUIRE(g_wide.size() == 1);
        CHECK(g_wide[0].file == wroot + L"\\file2.exe");
        CHECK(g_wide[0].directory == wroot);
        CHECK_FALSE(g_wide[0].runas);
        CHECK_FALSE(FolderMenusOpen());
        CHECK_FALSE(IsWindowVisible(CommandWindow));
    }
    SUBCASE("a click on the name no code page holds starts it exactly")
    {
        const auto at = std::find(names.begin(), names.end(), W8(u8"\uD55C\uAE00 \u2713.exe")) - names.begin();
        const int y = static_cast<int>(at) * LaunchMenu->Geometry().rowHeight + 5;
        SendMessageA(menu->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, y));
        REQUIRE(g_wide.size() == 1);
        CHECK(g_wide[0].file == hangul);
    }
    DeleteFileW(hangul.c_str());
}

TEST_CASE("a folder that cannot be read, and an empty one, show one greyed row and start nothing")
{
    MenuFixture f;
    const std::string gone = f.dir.file("gone");
    const std::string empty = f.dir.file("empty");
    CreateDirectoryA(gone.c_str(), nullptr);
    CreateDirectoryA(empty.c_str(), nullptr);
    f.Create({{gone, "gone", "", "", ""}, {empty, "empty", "", "", ""}});
    g_wide.clear();
    SeamOverride<WideShellExecuteFunction> shell(WideShellExecuteCall, RecordWide);
    ShowLaunchMenu();
    REQUIRE(BecomesFolderRow(0));
    REQUIRE(BecomesFolderRow(1));
    RemoveDirectoryA(gone.c_str());  // away since the list was read

    Key(VK_RIGHT);
    TvlcrFolderMenu* menu = ReadMenuAt(0);
    REQUIRE(menu);
    CHECK(menu->ReadState() == TvlcrFolderMenu::State::Unreadable);
    CHECK(menu->RowCount() == 1);
    Key(VK_RETURN);
    CHECK(g_wide.empty());
    CHECK(IsWindowVisible(CommandWindow));
    Key(VK_LEFT);

    Key(VK_DOWN);
    Key(VK_RIGHT);
    menu = ReadMenuAt(0);
    REQUIRE(menu);
    CHECK(menu->ReadState() == TvlcrFolderMenu::State::Listed);
    CHECK(menu->Entries().empty());
    CHECK(menu->RowCount() == 1);
    // A click outside (another program takes the activation) closes them all.
    SendMessageA(CommandWindow, WM_ACTIVATEAPP, FALSE, 0);
    CHECK_FALSE(FolderMenusOpen());
}

TEST_CASE("a network item is not looked at on the user's thread: it shows its name's generic icon until answered")
{
    MenuFixture f;
    CHECK(IsNetworkPath("\\\\nas-away\\share\\tool.exe"));
    CHECK_FALSE(IsNetworkPath("C:\\Windows\\notepad.exe"));
    CHECK_FALSE(IsNetworkPath("notepad.exe"));
    f.Create({{"\\\\nas-away\\share\\tool.exe", "away", "", "", ""}});
    CHECK_FALSE(LaunchMenu->IsFolderRow(0));
    // The generic program icon, not the dot of a row whose icon is unknown.
    UniqueIcon icon(GetItemIcon(0, 16));
    CHECK(icon);
}

namespace {
// A share that is away: each question waits until the test lets it go.
std::atomic<int> g_asked{0};
HANDLE g_shareWakes = nullptr;
DWORD WINAPI SleepingShare(LPCWSTR)
{
    ++g_asked;
    WaitForSingleObject(g_shareWakes, 10000);
    return FILE_ATTRIBUTE_DIRECTORY;
}
int ThreadCount()
{
    const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    return count;
}
}  // namespace

TEST_CASE("a share that does not answer is asked once, on one worker, however often the menu shows")
{
    MenuFixture f;
    g_asked = 0;
    g_shareWakes = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SeamOverride<FileAttributesFunction> share(NetworkFileAttributes, SleepingShare);
    const std::string path = "\\\\nas-asleep\\share\\tools";
    f.Create({{path, "asleep", "", "", ""}, {"C:\\t\\a.exe", "a", "", "", ""}});
    Settings.ReloadItems = true;
    const int threadsBefore = ThreadCount();
    for (int i = 0; i < 30; ++i) {
        ShowLaunchMenu();
        CloseLaunchMenuState();
    }
    PumpMessages(50);
    CHECK(g_asked == 1);
    CHECK(ThreadCount() <= threadsBefore + 1);  // the worker, made on the first question
    // The answer comes once the share wakes, and every later showing has it
    // without asking again.
    SetEvent(g_shareWakes);
    for (int waited = 0; waited < 5000 && WorkerJobsPending() > 0; waited += 10)
        PumpMessages(10);
    ShowLaunchMenu();
    CHECK(LaunchMenu->IsFolderRow(0));
    CloseLaunchMenuState();
    CHECK(g_asked == 1);
    CloseHandle(g_shareWakes);
    g_shareWakes = nullptr;
}

TEST_CASE("a folder menu longer than the screen marks the edge that hides rows")
{
    MenuFixture f;
    const std::string root = f.dir.file("Many");
    CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < 80; ++i)
        MakeFile(Widen(root) + L"\\file" + std::to_wstring(100 + i) + L".txt");
    f.Create({{root, "many", "", "", ""}});
    ShowLaunchMenu();
    REQUIRE(BecomesFolderRow(0));
    Key(VK_RIGHT);
    TvlcrFolderMenu* menu = ReadMenuAt(0);
    REQUIRE(menu);
    REQUIRE(menu->VisibleRows() < menu->RowCount());
    const int rowHeight = LaunchMenu->Geometry().rowHeight;
    RECT client{};
    GetClientRect(menu->Handle(), &client);
    // The mark's tip, in the caption's colour (black), near the edge of the
    // last or the first row shown; the row's own colours there otherwise.
    const auto marks = [&] {
        Canvas c(client.right, client.bottom);
        PrintClient(menu->Handle(), c);
        const int x = client.right / 2;
        const int last = (menu->VisibleRows() - 1) * rowHeight;
        return std::pair{c.at(x, 2) == 0x000000, c.at(x, last + rowHeight - 3) == 0x000000};
    };
    CHECK(marks() == std::pair{false, true});
    Key(VK_END);
    CHECK(marks() == std::pair{true, false});
    Key(VK_HOME);
    Key(VK_ESCAPE);
}
