#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "core/LaunchFile.h"
#include "core/Resident.h"
#include "platform/Dialogs.h"

TEST_CASE("the program's texts are cp932 bytes")
{
    CHECK(std::string(kAppTitle) == "\x90\x76 -velocara-");
    CHECK(std::string(kMsgCannotCreateFile) ==
          "\x83\x74\x83\x40\x83\x43\x83\x8b %s \x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1");
    const std::string firstRun(kFirstRunText);
    CHECK(firstRun.rfind("\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68", 0) == 0);  // ダウンロード
    CHECK(firstRun.find("\x81\x42\r\n") != std::string::npos);  // 。 CR LF
}

TEST_CASE("the process runs with the Japanese ANSI code page")
{
    CHECK(GetACP() == 932);
    // Round trip of the caption through the system's own conversion.
    wchar_t wide[32] = {};
    REQUIRE(MultiByteToWideChar(CP_ACP, 0, kAppTitle, -1, wide, 32) > 0);
    CHECK(wide[0] == 0x8FC5);  // 迅
}
