#include <doctest/doctest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/AddFromOutside.h"
#include "core/store/LaunchList.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

std::vector<std::string> g_balloons;
BOOL WINAPI RecordBalloon(DWORD message, NOTIFYICONDATAA* data)
{
    if (message == NIM_MODIFY && (data->uFlags & NIF_INFO)) {
        CHECK((data->dwInfoFlags & NIIF_NOSOUND) != 0);
        g_balloons.emplace_back(data->szInfo);
    }
    return TRUE;
}

}  // namespace

TEST_CASE("送る: a file, a folder and a shortcut are added and saved at once; a path that is not there adds nothing "
          "and the balloon says so")
{
    MenuFixture f;
    f.Create(NumberedItems(1));
    const std::string dir = f.dir.path();
    const std::string file = dir + "報告書.txt";
    const std::string folder = dir + "資料";
    const std::string link = dir + "メモ帳へ.lnk";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CreateDirectoryA(folder.c_str(), nullptr);
    MakeShortcut(link, "C:\\windows\\notepad.exe");
    g_balloons.clear();
    const SeamOverride<NotifyIconFunction> shell(NotifyIconCall, RecordBalloon);

    const OutsideAdded three = AddPathsFromOutside({Widen(file), Widen(folder), Widen(link)});
    CHECK(three.names == std::vector<std::string>{"報告書", "資料", "メモ帳へ"});
    REQUIRE(LaunchItemCount() == 4);
    CHECK(lstrcmpiA(LaunchLists->TargetList[3].c_str(), "C:\\windows\\notepad.exe") == 0);
    const std::string saved = f.ReadList();
    CHECK(saved.find("\r\n報告書\r\n") != std::string::npos);
    CHECK(saved.find("\r\nメモ帳へ\r\n") != std::string::npos);

    const OutsideAdded none = AddPathsFromOutside({Widen(dir + "ない.exe")});
    CHECK(none.names.empty());
    CHECK(LaunchItemCount() == 4);
    REQUIRE(g_balloons.size() == 2);
    CHECK(g_balloons[0] == "3 個のアイテムを追加しました。");
    CHECK(g_balloons[1] == "見つからないため追加できません: " + dir + "ない.exe");
    CHECK(AddedBalloonText({{"報告書"}, {}}) == "「報告書」を追加しました。");
}
