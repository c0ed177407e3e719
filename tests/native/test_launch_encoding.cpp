#include <doctest/doctest.h>

#include <string>

#include "core/store/LaunchEncoding.h"
#include "tests/native/ExactCp932.h"

namespace {
constexpr auto ToCp932 = ExactToCp932;
constexpr auto ToUtf8 = ExactToUtf8;


const std::string kUtf8File = U8(u8"VELOCARA_LAUNCHLIST_2\r\n\r\n"
                                 u8"C:\\ツール\\表示.exe\r\n表示ソフト\r\n--開く\r\nH\r\nC:\\作業\r\n"
                                 u8"C:\\windows\\notepad.exe\r\nメモ帳\r\n\r\n\r\n\r\n");
}  // namespace

TEST_CASE("which encoding a file is in")
{
    CHECK(DetectLaunchEncoding("") == LaunchEncoding::Cp932);
    CHECK(DetectLaunchEncoding("VELOCARA_LAUNCHLIST_2\r\nC:\\a.exe\r\n") == LaunchEncoding::Cp932);  // ASCII
    CHECK(DetectLaunchEncoding(kUtf8File) == LaunchEncoding::Utf8);
    CHECK(DetectLaunchEncoding(std::string(kUtf8Bom) + "abc") == LaunchEncoding::Utf8WithBom);
    CHECK(DetectLaunchEncoding("C:\\ツール\\表示.exe\r\nメモ帳\r\n") == LaunchEncoding::Cp932);
    // Malformed UTF-8: overlong, surrogate, beyond U+10FFFF, cut short.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE3\x81"})
        CHECK_MESSAGE(DetectLaunchEncoding(bad) == LaunchEncoding::Cp932, bad);
    // Half-width katakana can make valid UTF-8 by chance ("ﾃｽ" is C3 BD, "½"):
    // it is read as UTF-8, and since cp932 has no "½" the item is reported,
    // not stored with a substitute.
    const std::string halfWidth = "VELOCARA_LAUNCHLIST_2\r\n\r\nx.exe\r\n\xC3\xBD\r\n\r\n\r\n\r\n";
    CHECK(DetectLaunchEncoding(halfWidth) == LaunchEncoding::Utf8);
    CHECK(DecodeLaunchFile(halfWidth, ToCp932).LostItems == std::vector<std::size_t>{1});
}

TEST_CASE("a UTF-8 file loads as the same text in cp932 and is written back byte for byte")
{
    for (const std::string& file : {kUtf8File, std::string(kUtf8Bom) + kUtf8File}) {
        const DecodedLaunchFile d = DecodeLaunchFile(file, ToCp932);
        CHECK(d.LostItems.empty());
        REQUIRE(d.Parsed.Items.size() == 2);
        CHECK(d.Parsed.Items[0].Target == std::string("C:\\ツール\\表示.exe"));
        CHECK(d.Parsed.Items[0].Name == std::string("表示ソフト"));  // ソ holds the byte 5C, a backslash in ASCII
        CHECK(d.Parsed.Items[0].Directory == std::string("C:\\作業"));
        LaunchList list;
        std::string dbl;
        ApplyLaunchFile(d.Parsed, list, dbl);
        CHECK(EncodeLaunchFile(FormatLaunchFile(list, dbl), d.Encoding, ToUtf8) == file);
    }
    // A cp932 file stays cp932, untouched.
    const std::string cp932 = ToCp932(kUtf8File).value();
    const DecodedLaunchFile d = DecodeLaunchFile(cp932, ToCp932);
    CHECK(d.Encoding == LaunchEncoding::Cp932);
    CHECK(EncodeLaunchFile(cp932, d.Encoding, ToUtf8) == cp932);
}

TEST_CASE("items with characters cp932 cannot hold are left out whole and named by number and line")
{
    const std::string file = U8(u8"VELOCARA_LAUNCHLIST_2\r\n\r\n"
                                u8"a.exe\r\n一\r\n\r\n\r\n\r\n"
                                u8"C:\\한국어\\b.exe\r\n二\r\n\r\n\r\n\r\n"  // Korean in the target
                                u8"c.exe\r\n三\r\n\r\n\r\n\r\n"
                                u8"d.exe\r\n四 😀\r\n\r\n\r\né\r\n");  // an emoji, and é with no exact form
    const DecodedLaunchFile d = DecodeLaunchFile(file, ToCp932);
    CHECK(d.LostItems == std::vector<std::size_t>{2, 4});
    CHECK(d.LostLines == std::vector<std::size_t>{8, 19});  // the first lost line of each
    REQUIRE(d.Parsed.Items.size() == 2);
    CHECK(d.Parsed.Items[0].Name == "一");
    CHECK(d.Parsed.Items[1].Name == "三");

    const DecodedLaunchFile command =
        DecodeLaunchFile(U8(u8"VELOCARA_LAUNCHLIST_2\r\n😀.exe\r\na.exe\r\n一\r\n\r\n\r\n\r\n"), ToCp932);
    CHECK(command.LostItems == std::vector<std::size_t>{0});
    CHECK(command.Parsed.DblClickCommand.empty());
    CHECK(command.Parsed.Items.size() == 1);
}

TEST_CASE("a UTF-16 file, little or big endian, loads exactly and is written back byte for byte")
{
    // Made from the UTF-8 file, with a character beyond the BMP in a name
    // that cp932 cannot hold: that item is left out, as from UTF-8.
    const std::string withEmoji = kUtf8File + U8(u8"e.exe\r\n顔 😀\r\n\r\n\r\n\r\n");
    for (const bool big : {false, true}) {
        const std::string bom(big ? kUtf16BeBom : kUtf16LeBom);
        const std::string file = bom + Utf8ToUtf16(kUtf8File, big);
        CHECK(DetectLaunchEncoding(file) == (big ? LaunchEncoding::Utf16Be : LaunchEncoding::Utf16Le));
        const DecodedLaunchFile d = DecodeLaunchFile(file, ToCp932);
        CHECK_FALSE(d.Undecodable);
        CHECK(d.LostItems.empty());
        REQUIRE(d.Parsed.Items.size() == 2);
        CHECK(d.Parsed.Items[0].Target == std::string("C:\\ツール\\表示.exe"));
        CHECK(d.Parsed.Items[1].Name == std::string("メモ帳"));
        LaunchList list;
        std::string dbl;
        ApplyLaunchFile(d.Parsed, list, dbl);
        CHECK(EncodeLaunchFile(FormatLaunchFile(list, dbl), d.Encoding, ToUtf8) == file);

        const DecodedLaunchFile lost = DecodeLaunchFile(bom + Utf8ToUtf16(withEmoji, big), ToCp932);
        CHECK(lost.LostItems == std::vector<std::size_t>{3});
        CHECK(lost.Parsed.Items.size() == 2);
        CHECK(Utf16ToUtf8(Utf8ToUtf16(withEmoji, big), big) == withEmoji);
    }
    // The surrogate pair of U+1F600, little endian.
    const std::string emoji = U8(u8"\U0001F600");
    CHECK(Utf8ToUtf16(emoji, false) == std::string("\x3D\xD8\x00\xDE", 4));
}

TEST_CASE("a file marked as UTF-16 that is not is taken as nothing")
{
    const std::string good = Utf8ToUtf16("VELOCARA_LAUNCHLIST_2\r\n\r\na.exe\r\nA\r\n\r\n\r\n\r\n", false);
    const std::string cutShort = std::string(kUtf16LeBom) + good.substr(0, good.size() - 1);
    const std::string loneHigh = std::string(kUtf16LeBom) + good + std::string("\x3D\xD8", 2);
    const std::string loneLow = std::string(kUtf16BeBom) + std::string("\xDE\x00", 2) + good;
    for (const std::string& bad : {cutShort, loneHigh, loneLow}) {
        const DecodedLaunchFile d = DecodeLaunchFile(bad, ToCp932);
        CHECK(d.Undecodable);
        CHECK(d.Parsed.Items.empty());
    }
    CHECK_FALSE(Utf16ToUtf8("abc", false));
}
