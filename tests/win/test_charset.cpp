#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "core/store/LaunchFile.h"
#include "core/Resident.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Seams.h"
#include "tests/native/ExactCp932.h"

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

TEST_CASE("UTF-8 to cp932 is exact or nothing: no best-fit look-alike")
{
    // The rest of the conversion runs in the portable encoding tests, which
    // use Windows' own tables in this build.
    CHECK(Utf8ToCp932(U8(u8"表示～①")) == std::optional<std::string>("表示～①"));
    CHECK_FALSE(Utf8ToCp932(U8(u8"caf\u00e9")).has_value());  // best fit would make it "cafe"
    CHECK(Cp932ToUtf8("表示～①") == U8(u8"表示～①"));
}

namespace {
std::wstring g_wideText;
UINT WINAPI OtherCodePage() { return 1252; }
UINT WINAPI JapaneseCodePage() { return 932; }
int WINAPI RecordWideBox(HWND, LPCWSTR text, LPCWSTR, UINT)
{
    g_wideText = text;
    return IDOK;
}
}  // namespace

TEST_CASE("under another code page the program says so in wide text and refuses to start")
{
    const SeamOverride<WideMessageBoxFunction> box(ShowWideMessageBox, RecordWideBox);
    g_wideText.clear();
    {
        const SeamOverride<CodePageFunction> acp(AnsiCodePage, JapaneseCodePage);
        CHECK(RequireJapaneseCodePage());
        CHECK(g_wideText.empty());
    }
    const SeamOverride<CodePageFunction> acp(AnsiCodePage, OtherCodePage);
    CHECK_FALSE(RequireJapaneseCodePage());
    CHECK(g_wideText.find(L"コードページ 932") != std::wstring::npos);
    CHECK(g_wideText.find(L"code page 932") != std::wstring::npos);
}
