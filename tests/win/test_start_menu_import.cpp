#include <doctest/doctest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/store/LaunchList.h"
#include "dialogs/StartMenuImport.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "platform/StartMenuFolders.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

// Shortcuts of the test's own in both Start menus, in a folder that nothing
// else uses, removed however the test ends.
class StartMenuScene {
public:
    StartMenuScene()
    {
        user_ = Narrowed(ProgramsFolder(false)) + "\\vlcr テスト";
        common_ = Narrowed(ProgramsFolder(true)) + "\\vlcr テスト";
        Clean();
        CreateDirectoryA(user_.c_str(), nullptr);
        CreateDirectoryA((user_ + "\\Sub").c_str(), nullptr);
        CreateDirectoryA(common_.c_str(), nullptr);
        MakeShortcut(user_ + "\\Editor.lnk", "C:\\windows\\notepad.exe");
        MakeShortcut(common_ + "\\editor.lnk", "C:\\windows\\regedit.exe");  // the same place: shown once
        MakeShortcut(user_ + "\\Uninstall Tool.lnk", "C:\\Tool\\unins000.exe");
        MakeShortcut(user_ + "\\Sub\\Tool 10.lnk", "C:\\windows\\write.exe");
        MakeShortcut(common_ + "\\Tool 2.lnk", "C:\\windows\\winhelp.exe");
    }
    ~StartMenuScene() { Clean(); }
    StartMenuScene(const StartMenuScene&) = delete;
    StartMenuScene& operator=(const StartMenuScene&) = delete;

private:
    static std::string Narrowed(const std::wstring& w) { return ExactAnsiText(w).value_or(std::string()); }
    void Clean() const
    {
        for (const std::string& root : {user_, common_}) {
            std::string doubled = root + '\0' + '\0';
            SHFILEOPSTRUCTA op{};
            op.wFunc = FO_DELETE;
            op.pFrom = doubled.c_str();
            op.fFlags = FOF_NO_UI;
            SHFileOperationA(&op);
        }
    }
    std::string user_, common_;
};

std::vector<StoreApp> TwoApps()
{
    return {{L"電卓", L"Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", 0},
            {L"editor", L"Vendor.Editor_1!App", 0}};  // a shortcut has this name: left out
}

std::wstring RowText(HWND list, int row, int column)
{
    wchar_t text[260] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 260;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

bool Checked(HWND list, int row)
{
    return (SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
            LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void Check(HWND list, int row, bool on)
{
    LVITEMA state{};
    state.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    state.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

}  // namespace

TEST_CASE("start menu import: both Start menus and the apps, once each, in Explorer's order; what the list has is "
          "checked and kept; the checked ones are added with free letters")
{
    StartMenuScene scene;
    TempFolder dir;
    LaunchFileDirectory = dir.path();
    CreateLaunchLists();
    SetLaunchItem(AddLaunchItem(), "C:\\windows\\notepad.exe", "メモ帳", "", "", "E");
    const SeamOverride<StoreAppsFunction> apps(StoreApps, TwoApps);
    TfrmStartMenuImport form;
    std::vector<std::wstring> ours;  // the rows of the test's folders and apps, as shown
    bool editorChecked = false, editorKept = false;
    FormDriver driver({[&](Form&) {
        const DWORD end = GetTickCount() + 10000;
        while (form.Reading() && GetTickCount() < end)
            PumpMessages(20);
        const int rows = static_cast<int>(SendMessageA(form.lvPrograms, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) {
            const std::wstring folder = RowText(form.lvPrograms, row, 1);
            const std::wstring name = RowText(form.lvPrograms, row, 0);
            if (!folder.starts_with(L"vlcr テスト") && name != L"電卓")
                continue;
            ours.push_back(name + L"|" + folder);
            if (name == L"Editor") {
                editorChecked = Checked(form.lvPrograms, row);
                Check(form.lvPrograms, row, false);
                editorKept = Checked(form.lvPrograms, row);
            }
            if (name == L"Tool 2" || name == L"電卓")
                Check(form.lvPrograms, row, true);
        }
        SendMessageA(form.btnAdd, BM_CLICK, 0, 0);
    }});
    CHECK(form.ShowModal() == mrOk);
    CHECK_FALSE(driver.TimedOut());
    CHECK(ours == std::vector<std::wstring>{L"Editor|vlcr テスト", L"Tool 2|vlcr テスト", L"Tool 10|vlcr テスト\\Sub",
                                            L"電卓|"});
    CHECK(editorChecked);
    CHECK(editorKept);
    CHECK(form.Added() == 2);
    REQUIRE(LaunchItemCount() == 3);
    CHECK(LaunchLists->NameList == std::vector<std::string>{"メモ帳", "Tool 2", "電卓"});
    CHECK(lstrcmpiA(LaunchLists->TargetList[1].c_str(), "C:\\windows\\winhelp.exe") == 0);
    CHECK(LaunchLists->TargetList[2] == "shell:AppsFolder\\Microsoft.WindowsCalculator_8wekyb3d8bbwe!App");
    CHECK(LaunchLists->ShortCutList == std::vector<std::string>{"E", "T", ""});
    FreeLaunchLists();
}

TEST_CASE("start menu import: Escape closes it and adds nothing")
{
    TempFolder dir;
    LaunchFileDirectory = dir.path();
    CreateLaunchLists();
    const SeamOverride<StoreAppsFunction> apps(StoreApps, TwoApps);
    TfrmStartMenuImport form;
    FormDriver driver({[&](Form&) { PostKey(form.lvPrograms, VK_ESCAPE); }});
    CHECK(form.ShowModal() == mrCancel);
    CHECK(form.Added() == 0);
    CHECK(LaunchItemCount() == 0);
    FreeLaunchLists();
}
