// The item editor's text rules: the blank-target test, the trailing
// backslash, the one-character shortcut and the typed shortcut letter.
#include <doctest/doctest.h>

#include "dialogs/ItemEditorText.h"

TEST_CASE("a target of blanks and control characters only counts as empty")
{
    CHECK(IsBlankText(""));
    CHECK(IsBlankText("   \t\r\n"));
    CHECK_FALSE(IsBlankText("  a "));
    CHECK_FALSE(IsBlankText("\x81\x40"));  // an ideographic space is text
    CHECK_FALSE(IsBlankText("表"));
}

TEST_CASE("one trailing backslash is removed, never the trail byte of a double-byte character")
{
    CHECK(WithoutTrailingBackslash("C:\\Data\\") == "C:\\Data");
    CHECK(WithoutTrailingBackslash("C:\\") == "C:");
    CHECK(WithoutTrailingBackslash("C:\\Data\\\\") == "C:\\Data\\");  // one only
    CHECK(WithoutTrailingBackslash("C:\\Data") == "C:\\Data");
    CHECK(WithoutTrailingBackslash("") == "");
    // 表, ソ and 能 end in 0x5C.
    CHECK(WithoutTrailingBackslash("C:\\表") == "C:\\表");
    CHECK(WithoutTrailingBackslash("C:\\ソ") == "C:\\ソ");
    CHECK(WithoutTrailingBackslash("C:\\能\\") == "C:\\能");
    CHECK(WithoutTrailingBackslash("\\") == "");
}

TEST_CASE("the first character of a text keeps a double-byte character whole")
{
    CHECK(FirstCharacter("") == "");
    CHECK(FirstCharacter("ABC") == "A");
    CHECK(FirstCharacter("表示") == "表");
    CHECK(FirstCharacter("ｱｲ") == "ｱ");  // half-width kana are one byte
    CHECK(FirstCharacter("\x95") == "\x95");  // a lone lead byte stays as it is
}

TEST_CASE("typing in the shortcut edit replaces its letter")
{
    ShortCutTyping typing;
    CHECK(typing.Type('a') == "A");
    CHECK(typing.Type('b') == "B");
    CHECK(typing.Type('z') == "Z");
    CHECK(typing.Type('1') == "1");
    CHECK(typing.Type('@') == "@");
    CHECK(typing.Type(static_cast<unsigned char>('\xB1')) == "\xB1");  // ｱ, not upper-cased
    CHECK(typing.Type(27) == "");  // Escape empties
    CHECK(typing.Type(8) == "");   // so does Backspace
    CHECK_FALSE(typing.Type(22).has_value());  // Ctrl+V as a character changes nothing
    CHECK_FALSE(typing.Type(13).has_value());

    SUBCASE("a lead byte waits for its trail byte; the pair is one character")
    {
        const std::string a = "ア";  // 83 41: the trail byte is 'A'
        CHECK_FALSE(typing.Type(static_cast<unsigned char>(a[0])).has_value());
        CHECK(typing.Type(static_cast<unsigned char>(a[1])) == a);
        const std::string hyo = "表";  // 95 5C
        CHECK_FALSE(typing.Type(static_cast<unsigned char>(hyo[0])).has_value());
        CHECK(typing.Type(static_cast<unsigned char>(hyo[1])) == hyo);
        CHECK(typing.Type('x') == "X");
    }
}

TEST_CASE("a blank name comes from the target: a file without its extension, a folder, a web address's host")
{
    const struct {
        const char* target;
        const char* name;
    } cases[] = {
        {"C:\\Program Files\\Tool\\tool.exe", "tool"},
        {"C:\\Data\\report.v2.txt", "report.v2"},
        {"C:\\Data\\表", "表"},  // the trail byte 5C is no backslash
        {"C:\\Data\\", "Data"},
        {"%USERPROFILE%\\Documents", "Documents"},
        {"notepad", "notepad"},
        {"https://www.example.com/docs/index.html", "www.example.com"},
        {"http://user@example.org:8080/", "example.org"},
        {"https://example.net?q=1", "example.net"},
        {"mailto:someone@example.com", "example.com"},
        {"C:\\", "C:"},
        {"http://", "http://"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.target);
        CHECK(NameFromTarget(c.target) == c.name);
    }
}
