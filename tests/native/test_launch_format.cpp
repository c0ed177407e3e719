#include <doctest/doctest.h>

#include "core/store/LaunchList.h"

namespace {
LaunchList Loaded(std::string_view text, std::string& dbl)
{
    LaunchList list;
    ApplyLaunchFile(ParseLaunchFile(text), list, dbl);
    return list;
}
}  // namespace

TEST_CASE("line ends: CR LF, LF, CR, a last line without an end, and NUL")
{
    using V = std::vector<std::string>;
    CHECK(SplitLaunchLines("a\r\nb\r\n") == V{"a", "b"});
    CHECK(SplitLaunchLines("a\nb\n") == V{"a", "b"});
    CHECK(SplitLaunchLines("a\rb\r") == V{"a", "b"});
    CHECK(SplitLaunchLines("a\r\n\r\nb") == V{"a", "", "b"});
    CHECK(SplitLaunchLines("a\n\rb") == V{"a", "", "b"});  // LF then CR is two ends
    CHECK(SplitLaunchLines(std::string_view("a\nb\0c\nd", 7)) == V{"a", "b"});
    CHECK(SplitLaunchLines("") == V{});
    CHECK(SplitLaunchLines("\r\n") == V{""});
}

TEST_CASE("versioned layout loads five lines per item")
{
    std::string dbl = "old";
    const LaunchList l = Loaded("VELOCARA_LAUNCHLIST_2\r\nC:\\a\\x.exe\r\n"
                                "C:\\a\\x.exe\r\nX\r\n-v\r\nA\r\nC:\\a\r\n"
                                "D:\\notes\r\n\r\n\r\n\r\n\r\n",
                                dbl);
    CHECK(dbl == "C:\\a\\x.exe");
    REQUIRE(l.Count() == 2);
    CHECK(l.Item(0) == LaunchItem{"C:\\a\\x.exe", "X", "-v", "A", "C:\\a"});
    CHECK(l.Item(1) == LaunchItem{"D:\\notes", "notes", "", NoShortCut, ""});
}

TEST_CASE("incomplete and degenerate files")
{
    std::string dbl = "kept";
    CHECK(Loaded("VELOCARA_LAUNCHLIST_2\r\ncmd\r\n", dbl).Count() == 0);
    CHECK(dbl == "cmd");

    dbl = "kept";
    const LaunchList partial =
        Loaded("VELOCARA_LAUNCHLIST_2\r\n\r\nT1\r\nN1\r\n\r\n\r\n\r\nT2\r\nN2\r\nC2\r\n", dbl);
    CHECK(dbl == "");
    REQUIRE(partial.Count() == 1);  // the three-line record is dropped
    CHECK(partial.TargetList[0] == "T1");

    dbl = "kept";
    CHECK(Loaded("", dbl).Count() == 0);
    CHECK(dbl == "kept");
    CHECK(Loaded("VELOCARA_LAUNCHLIST_2", dbl).Count() == 0);
    CHECK(dbl == "kept");
}

TEST_CASE("older layout: no magic line, four lines per item, no directory")
{
    std::string dbl;
    const LaunchList l = Loaded("C:\\a\\tool.exe\r\nC:\\a\\tool.exe\r\nTool\r\n/x\r\nT\r\n", dbl);
    CHECK(dbl == "C:\\a\\tool.exe");
    REQUIRE(l.Count() == 1);
    CHECK(l.Item(0) == LaunchItem{"C:\\a\\tool.exe", "Tool", "/x", "T", ""});

    // Saving writes the versioned layout.
    CHECK(FormatLaunchFile(l, dbl) ==
          "VELOCARA_LAUNCHLIST_2\r\nC:\\a\\tool.exe\r\nC:\\a\\tool.exe\r\nTool\r\n/x\r\nT\r\n\r\n");

    // The magic text in lower case is no magic line.
    const LaunchList lower = Loaded("velocara_launchlist_2\nT\nN\nC\nS\n", dbl);
    CHECK(dbl == "velocara_launchlist_2");
    REQUIRE(lower.Count() == 1);
    CHECK(lower.Item(0) == LaunchItem{"T", "N", "C", "S", ""});
}

TEST_CASE("LF-only and CR-only files load as CR LF ones, and save as CR LF")
{
    const std::string crlf = "VELOCARA_LAUNCHLIST_2\r\nd\r\nt\r\nn\r\nc\r\ns\r\ndir\r\n";
    std::string lf = crlf, cr = crlf;
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    std::string d1, d2, d3;
    const LaunchList a = Loaded(crlf, d1), b = Loaded(lf, d2), c = Loaded(cr, d3);
    CHECK(a.Item(0) == b.Item(0));
    CHECK(a.Item(0) == c.Item(0));
    CHECK(d1 == d2);
    CHECK(d1 == d3);
    CHECK(FormatLaunchFile(b, d2) == crlf);
    CHECK(FormatLaunchFile(c, d3) == crlf);
}

TEST_CASE("shortcuts: NoShortCut and the empty string both save as an empty line")
{
    LaunchList l;
    l.Append({"t1", "n1", "", NoShortCut, ""});
    l.Append({"t2", "n2", "", "", ""});
    l.Append({"t3", "n3", "", "Q", ""});
    const std::string text = FormatLaunchFile(l, "");
    CHECK(text == "VELOCARA_LAUNCHLIST_2\r\n\r\n"
                  "t1\r\nn1\r\n\r\n\r\n\r\n"
                  "t2\r\nn2\r\n\r\n\r\n\r\n"
                  "t3\r\nn3\r\n\r\nQ\r\n\r\n");
    std::string dbl;
    const LaunchList back = Loaded(text, dbl);
    CHECK(back.ShortCutList == std::vector<std::string>{NoShortCut, NoShortCut, "Q"});
}

TEST_CASE("a derived name is stored explicitly after a save")
{
    std::string dbl;
    const LaunchList l = Loaded("VELOCARA_LAUNCHLIST_2\r\n\r\nC:\\表\\表.exe\r\n\r\n\r\n\r\n\r\n", dbl);
    CHECK(l.NameList[0] == "表");
    CHECK(FormatLaunchFile(l, dbl).find("\r\n表\r\n") != std::string::npos);
}

TEST_CASE("a line break inside a field cannot shift the records")
{
    LaunchList l;
    l.Append({"t1", "two\r\nlines", "a\nb", NoShortCut, "c\rd"});
    l.Append({"t2", "n2", "", "Z", ""});
    std::string dbl = "x\ny";
    const std::string text = FormatLaunchFile(l, dbl);
    std::string back;
    const LaunchList re = Loaded(text, back);
    CHECK(back == "x y");
    REQUIRE(re.Count() == 2);
    CHECK(re.Item(0) == LaunchItem{"t1", "two  lines", "a b", NoShortCut, "c d"});
    CHECK(re.Item(1) == LaunchItem{"t2", "n2", "", "Z", ""});
}
