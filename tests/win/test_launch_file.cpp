#include <doctest/doctest.h>
#include <windows.h>

#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "tests/native/ExactCp932.h"
#include "tests/win/WinTestSupport.h"

namespace {
const std::string kTwoItems =
    "VELOCARA_LAUNCHLIST_2\r\nC:\\a\\x.exe\r\nC:\\a\\x.exe\r\nX\r\n-v\r\nA\r\nC:\\a\r\nD:\\表\\能.txt\r\n\r\n\r\n\r\n\r\n";
}

TEST_CASE("load and save against a real file")
{
    TempFolder dir;
    const std::string path = dir.file("Launch.ini");
    MessageBoxRecorder boxes;
    CreateLaunchLists();
    DblClickCommand = "unchanged";

    SUBCASE("a missing file gives an empty list, no message, the command kept")
    {
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Missing);
        CHECK(LaunchItemCount() == 0);
        CHECK(DblClickCommand == "unchanged");
        CHECK(boxes.boxes().empty());
    }
    SUBCASE("a file loads and saves back byte for byte")
    {
        WriteBytes(path, kTwoItems);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Loaded);
        REQUIRE(LaunchItemCount() == 2);
        CHECK(LaunchLists->NameList[1] == "能");  // derived, trail byte 0x5C skipped
        CHECK(DblClickCommand == "C:\\a\\x.exe");
        WriteBytes(path, "");
        CHECK(SaveLaunchListTo(path));
        const std::string saved = ReadBytes(path);
        CHECK(saved == "VELOCARA_LAUNCHLIST_2\r\nC:\\a\\x.exe\r\nC:\\a\\x.exe\r\nX\r\n-v\r\nA\r\nC:\\a\r\n"
                       "D:\\表\\能.txt\r\n能\r\n\r\n\r\n\r\n");
        CHECK_FALSE(FileExists(path + ".new"));
    }
    SUBCASE("a NUL byte ends the text")
    {
        using namespace std::string_literals;
        WriteBytes(path, "VELOCARA_LAUNCHLIST_2\r\n\r\nT\r\nN\r\n\r\n\r\n\r\n\0T2\r\nN2\r\n\r\n\r\n\r\n"s);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Loaded);
        CHECK(LaunchItemCount() == 1);
    }
    SUBCASE("an existing file that cannot be read is reported, and not taken for an empty one")
    {
        CreateDirectoryA(path.c_str(), nullptr);  // a folder where the file should be
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text == "ファイル " + path + " を開けません");
        CHECK(boxes.boxes()[0].caption == "迅 -velocara-");
        RemoveDirectoryA(path.c_str());
    }
    SUBCASE("a file that stays unreadable is reported once, and again after it was read")
    {
        CreateDirectoryA(path.c_str(), nullptr);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
        CHECK(boxes.boxes().size() == 1);
        RemoveDirectoryA(path.c_str());
        WriteBytes(path, kTwoItems);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Loaded);
        DeleteFileA(path.c_str());
        CreateDirectoryA(path.c_str(), nullptr);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
        CHECK(boxes.boxes().size() == 2);
        RemoveDirectoryA(path.c_str());
    }
    SUBCASE("a file opened by another program without sharing is reported")
    {
        WriteBytes(path, kTwoItems);
        REQUIRE(LoadLaunchListFrom(path) == LaunchLoadResult::Loaded);
        DeleteLaunchItem(0);  // a change not saved yet
        HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(locked != INVALID_HANDLE_VALUE);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
        CHECK(boxes.boxes().size() == 1);
        CloseHandle(locked);
        // The list in memory is kept, not emptied for a later save to write.
        CHECK(LaunchItemCount() == 1);
    }
    FreeLaunchLists();
    DblClickCommand.clear();
}

TEST_CASE("a save that fails leaves the old file whole and the list unchanged")
{
    TempFolder dir;
    const std::string path = dir.file("Launch.ini");
    MessageBoxRecorder boxes;
    WriteBytes(path, kTwoItems);
    CreateLaunchLists();
    REQUIRE(LoadLaunchListFrom(path) == LaunchLoadResult::Loaded);
    DeleteLaunchItem(0);

    SUBCASE("file held open without sharing")
    {
        HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(locked != INVALID_HANDLE_VALUE);
        CHECK_FALSE(SaveLaunchListTo(path));
        CloseHandle(locked);
    }
    SUBCASE("folder missing")
    {
        const std::string elsewhere = dir.file("no-such-folder\\Launch.ini");
        CHECK_FALSE(SaveLaunchListTo(elsewhere));
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text == "ファイル " + elsewhere + " を作成できません");
    }
    CHECK(ReadBytes(path) == kTwoItems);
    CHECK(LaunchItemCount() == 1);
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].caption == "迅 -velocara-");
    CHECK((boxes.boxes()[0].style & MB_ICONERROR) == MB_ICONERROR);
    CHECK_FALSE(FileExists(path + ".new"));
    FreeLaunchLists();
    DblClickCommand.clear();
}

TEST_CASE("a stale temporary file from an interrupted save does not stop the next one")
{
    TempFolder dir;
    const std::string path = dir.file("Launch.ini");
    WriteBytes(path + ".new", "VELOCARA_LAUNCHLIST_2\r\nhalf");
    CreateLaunchLists();
    AddLaunchItem();
    CHECK(SaveLaunchListTo(path));
    CHECK(ReadBytes(path) == "VELOCARA_LAUNCHLIST_2\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    CHECK_FALSE(FileExists(path + ".new"));
    FreeLaunchLists();
}

TEST_CASE("a UTF-8 Launch.ini loads, and is saved back as UTF-8, with its byte-order mark if it had one")
{
    TempFolder dir;
    const std::string path = dir.file("Launch.ini");
    MessageBoxRecorder boxes;
    CreateLaunchLists();
    const std::string body = U8(u8"VELOCARA_LAUNCHLIST_2\r\n\r\nC:\\ツール\\表示.exe\r\n表示\r\n\r\nH\r\nC:\\作業\r\n");
    for (const std::string& file : {body, "\xEF\xBB\xBF" + body}) {
        WriteBytes(path, file);
        CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Loaded);
        REQUIRE(LaunchItemCount() == 1);
        CHECK(LaunchLists->TargetList[0] == "C:\\ツール\\表示.exe");  // cp932 in memory
        CHECK(SaveLaunchListTo(path));
        CHECK(ReadBytes(path) == file);
        // An editor's save in UTF-8 is a hand edit like any other.
        WriteBytes(path, file + U8(u8"D:\\新.exe\r\n\r\n\r\n\r\n\r\n"));
        CHECK(LaunchFileChanged());
    }
    CHECK(boxes.boxes().empty());

    // Items cp932 cannot hold: reported once, left out, and not a plain load.
    WriteBytes(path, body + U8(u8"C:\\😀.exe\r\n絵\r\n\r\n\r\n\r\n"));
    CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
    CHECK(LaunchItemCount() == 1);
    REQUIRE(boxes.boxes().size() == 1);
    CHECK(boxes.boxes()[0].text.find("2 番目のアイテム (8 行目)") != std::string::npos);
    CHECK(LoadLaunchListFrom(path) == LaunchLoadResult::Unreadable);
    CHECK(boxes.boxes().size() == 1);
    FreeLaunchLists();
}
