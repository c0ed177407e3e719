#include <doctest/doctest.h>
#include <windows.h>

#include "core/store/Settings.h"
#include "platform/ModulePath.h"
#include "tests/win/WinTestSupport.h"

namespace {
constexpr const char* kKey = "Software\\Ternvale\\Velocara";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kLegacy = "Software\\BrightmoorPine\\Velocara";

struct CleanRegistry {
    CleanRegistry() { Clean(); }
    ~CleanRegistry() { Clean(); }
    static void Clean()
    {
        DeleteUserKey("Software\\Ternvale");
        DeleteUserKey("Software\\BrightmoorPine");
        HKEY run;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Velocara");
            RegCloseKey(run);
        }
    }
};

void Scramble()
{
    Settings = {false, 1, true, false, true};
}
}  // namespace

TEST_CASE("a clean account loads the defaults and writes nothing")
{
    CleanRegistry clean;
    Scramble();
    LoadSettings();
    CHECK(Settings.DoubleKeyedPopup);
    CHECK(Settings.PopupKey == 162);
    CHECK_FALSE(Settings.ReloadItems);
    CHECK(Settings.ListIconVisible);
    CHECK_FALSE(Settings.StartWithSystem);
    CHECK_FALSE(UserKeyExists(kKey));
}

TEST_CASE("optional values default to true in an existing key")
{
    CleanRegistry clean;
    SetUserDword(kKey, "DoubleKeyedPopup", 0);
    SetUserDword(kKey, "PopupKey", 163);
    Scramble();
    LoadSettings();
    CHECK_FALSE(Settings.DoubleKeyedPopup);
    CHECK(Settings.PopupKey == 163);
    CHECK(Settings.ReloadItems);
    CHECK(Settings.ListIconVisible);
}

TEST_CASE("any non-zero DWORD is true and is written back as 1")
{
    CleanRegistry clean;
    SetUserDword(kKey, "DoubleKeyedPopup", 2);
    SetUserDword(kKey, "PopupKey", 0x41);
    SetUserDword(kKey, "ReloadItems", 7);
    SetUserDword(kKey, "ListIconVisible", 0);
    LoadSettings();
    CHECK(Settings.DoubleKeyedPopup);
    CHECK(Settings.ReloadItems);
    CHECK_FALSE(Settings.ListIconVisible);
    SaveSettings();
    CHECK(GetUserDword(kKey, "DoubleKeyedPopup") == 1);
    CHECK(GetUserDword(kKey, "PopupKey") == 0x41);
    CHECK(GetUserDword(kKey, "ReloadItems") == 1);
    CHECK(GetUserDword(kKey, "ListIconVisible") == 0);
    CHECK(UserValueType(kKey, "PopupKey") == REG_DWORD);
}

TEST_CASE("required values missing or of the wrong type fail with the value's name")
{
    CleanRegistry clean;
    Scramble();
    Settings.PopupKey = 99;

    SUBCASE("PopupKey missing: the fields read before it keep their new values")
    {
        SetUserDword(kKey, "DoubleKeyedPopup", 1);
        try {
            LoadSettings();
            FAIL("no error");
        } catch (const SettingsError& e) {
            CHECK(std::string(e.what()) == "'PopupKey' の取得に失敗しました");
        }
        CHECK(Settings.DoubleKeyedPopup);
        CHECK(Settings.PopupKey == 99);
        CHECK(Settings.ReloadItems);          // untouched
        CHECK_FALSE(Settings.ListIconVisible);  // untouched
    }
    SUBCASE("DoubleKeyedPopup as a string")
    {
        SetUserString(kKey, "DoubleKeyedPopup", "1");
        SetUserDword(kKey, "PopupKey", 162);
        CHECK_THROWS_WITH_AS(LoadSettings(), "'DoubleKeyedPopup' のデータ型が不正です", SettingsError);
        CHECK_FALSE(Settings.DoubleKeyedPopup);
    }
    SUBCASE("a present optional value of another type")
    {
        SetUserDword(kKey, "DoubleKeyedPopup", 1);
        SetUserDword(kKey, "PopupKey", 162);
        SetUserString(kKey, "ListIconVisible", "yes");
        CHECK_THROWS_WITH_AS(LoadSettings(), "'ListIconVisible' のデータ型が不正です", SettingsError);
        CHECK(Settings.PopupKey == 162);
    }
}

TEST_CASE("the Run value follows StartWithSystem")
{
    CleanRegistry clean;
    DefaultSettings();
    Settings.StartWithSystem = true;
    SaveSettings();
    const std::string expected = ExecutableDirectory() + "vlcr.exe";
    CHECK(GetUserString(kRun, "Velocara") == expected);
    CHECK(expected.back() != '\\');
    CHECK(expected.find("\\vlcr.exe") != std::string::npos);

    Settings.StartWithSystem = false;
    LoadSettings();
    CHECK(Settings.StartWithSystem);  // any value named Velocara counts

    SetUserDword(kRun, "Velocara", 5);
    LoadSettings();
    CHECK(Settings.StartWithSystem);

    Settings.StartWithSystem = false;
    SaveSettings();
    CHECK_FALSE(UserValueExists(kRun, "Velocara"));
    SaveSettings();  // nothing to remove: still quiet
    LoadSettings();
    CHECK_FALSE(Settings.StartWithSystem);
}

TEST_CASE("the first save removes the legacy key with everything below it")
{
    CleanRegistry clean;
    SetUserDword(kLegacy, "PopupKey", 1);
    SetUserDword((std::string(kLegacy) + "\\Sub\\Deeper").c_str(), "x", 1);
    DefaultSettings();
    SaveSettings();
    CHECK_FALSE(UserKeyExists(kLegacy));
    CHECK(UserKeyExists("Software\\BrightmoorPine"));  // only the named key goes
    SaveSettings();
    CHECK(GetUserDword(kKey, "PopupKey") == 162);
    CHECK(GetUserDword(kKey, "DoubleKeyedPopup") == 1);
    CHECK(GetUserDword(kKey, "ReloadItems") == 0);
    CHECK(GetUserDword(kKey, "ListIconVisible") == 1);
}

TEST_CASE("the Run value names a path with a space in double quotes, and others as they are")
{
    CHECK(RunValueData("D:\\My Tools\\vlcr.exe") == "\"D:\\My Tools\\vlcr.exe\"");
    CHECK(RunValueData("C:\\Tools\\vlcr.exe") == "C:\\Tools\\vlcr.exe");
    CHECK(RunValueData("C:\\ツール\\vlcr.exe") == "C:\\ツール\\vlcr.exe");
}

TEST_CASE("the menu's colours: stored as a DWORD, and anything else reads as automatic")
{
    CleanRegistry clean;
    SetUserDword(kKey, "DoubleKeyedPopup", 1);
    SetUserDword(kKey, "PopupKey", 162);
    struct Stored {
        const char* what;
        int dword;  // -1: a string instead, -2: absent
        std::uint32_t read;
    };
    const Stored cases[] = {{"dark", 2, 2}, {"light", 1, 1}, {"automatic", 0, 0}, {"out of range", 7, 0},
                            {"a string", -1, 0}, {"absent", -2, 0}};
    for (const Stored& c : cases) {
        CAPTURE(c.what);
        HKEY key;
        REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS);
        RegDeleteValueA(key, "MenuTheme");
        if (c.dword >= 0)
            SetUserDword(kKey, "MenuTheme", static_cast<DWORD>(c.dword));
        else if (c.dword == -1)
            RegSetValueExA(key, "MenuTheme", 0, REG_SZ, reinterpret_cast<const BYTE*>("2"), 2);
        RegCloseKey(key);
        Settings.MenuTheme = 5;
        LoadSettings();  // a bad value is no error: the menu still opens
        CHECK(Settings.MenuTheme == c.read);
    }
    Settings.MenuTheme = 2;
    SaveSettings();
    CHECK(UserValueType(kKey, "MenuTheme") == REG_DWORD);
    CHECK(GetUserDword(kKey, "MenuTheme") == 2);
    Settings.MenuTheme = 9;  // never written as it stands
    SaveSettings();
    CHECK(GetUserDword(kKey, "MenuTheme") == 0);
}
