#include <doctest/doctest.h>

#include "platform/PathText.h"

TEST_CASE("derived name drops the directory and the last extension")
{
    CHECK(DerivedName("C:\\Program Files\\Editor\\ed.exe") == "ed");
    CHECK(DerivedName("D:\\notes") == "notes");
    CHECK(DerivedName("a.tar.gz") == "a.tar");
    CHECK(DerivedName("C:\\dir.d\\file") == "file");  // a dot in a folder is no extension
    CHECK(DerivedName("C:tool.exe") == "tool");       // the colon ends the drive part
    CHECK(DerivedName("http://host/page.html") == "//host/page");
    CHECK(DerivedName("C:\\folder\\") == "");
    CHECK(DerivedName("") == "");
    CHECK(DerivedName(".profile") == "");
}

TEST_CASE("the scans skip trail bytes that look like a backslash")
{
    // 表 = 95 5C, ソ = 83 5C, 能 = 94 5C in cp932.
    CHECK(DerivedName("C:\\表.exe") == "表");
    CHECK(DerivedName("C:\\data\\ソフト.txt") == "ソフト");
    CHECK(DerivedName("能") == "能");
    CHECK(FileNamePart("C:\\能力\\表") == "表");
    CHECK(DirectoryPart("C:\\能力\\表") == "C:\\能力\\");
    CHECK(DirectoryPart("表") == "");
    // A lead byte as the very last byte has no trail byte to hide.
    const std::string dangling = std::string("C:\\x\\") + '\x95';
    CHECK(FileNamePart(dangling) == "\x95");
}

TEST_CASE("the lead-byte predicate is the caller's choice")
{
    // In a single-byte code page 0x95 is a character of its own, so the
    // backslash after it is a delimiter.
    auto never = [](unsigned char) { return false; };
    CHECK(FileNamePart("C:\\a\x95\\b", never) == "b");
    CHECK(FileNamePart("C:\\a\x95\\b") == "a\x95\\b");
    CHECK(IsCp932LeadByte(0x81));
    CHECK(IsCp932LeadByte(0xFC));
    CHECK_FALSE(IsCp932LeadByte(0x80));
    CHECK_FALSE(IsCp932LeadByte(0xA0));  // half-width katakana are single bytes
    CHECK_FALSE(IsCp932LeadByte(0xDF));
    CHECK_FALSE(IsCp932LeadByte('\\'));
}

TEST_CASE("a folder gets one trailing backslash, also after a character whose trail byte is 5C")
{
    CHECK(WithTrailingBackslash("C:\\Temp") == "C:\\Temp\\");
    CHECK(WithTrailingBackslash("C:\\Temp\\") == "C:\\Temp\\");
    CHECK(WithTrailingBackslash("C:\\一時\\表") == "C:\\一時\\表\\");
    CHECK(WithTrailingBackslash("C:\\ソ") == "C:\\ソ\\");
    CHECK(WithTrailingBackslash("C:\\能\\") == "C:\\能\\");
    CHECK(WithTrailingBackslash("") == "\\");
}

TEST_CASE("a path is classified as the user wrote it")
{
    CHECK(ClassifyPath("") == PathKind::Empty);
    CHECK(ClassifyPath("  ") == PathKind::Empty);
    CHECK(ClassifyPath("notepad.exe") == PathKind::BareName);
    CHECK(ClassifyPath("calc") == PathKind::BareName);
    CHECK(ClassifyPath(".\\x.exe") == PathKind::Relative);
    CHECK(ClassifyPath("..\\Apps\\x.exe") == PathKind::Relative);
    CHECK(ClassifyPath("Tools\\x.exe") == PathKind::Relative);
    CHECK(ClassifyPath("Tools/x.exe") == PathKind::Relative);
    CHECK(ClassifyPath("C:\\Tools\\x.exe") == PathKind::Full);
    CHECK(ClassifyPath("c:x.exe") == PathKind::Full);
    CHECK(ClassifyPath("\\\\server\\share\\x.exe") == PathKind::Full);
    CHECK(ClassifyPath("\\Tools\\x.exe") == PathKind::Full);
    CHECK(ClassifyPath("http://example.com/a\\b") == PathKind::Address);
    CHECK(ClassifyPath("mailto:a@example.com") == PathKind::Address);
    CHECK(ClassifyPath("ms-settings:display") == PathKind::Address);
    // 表 ends in the byte of a backslash: no folder part in "表.exe".
    CHECK(ClassifyPath("\x95\x5c.exe") == PathKind::BareName);
    CHECK(ClassifyPath("\x95\x5c\\x.exe") == PathKind::Relative);
}
