// Settings on the registry under HKEY_CURRENT_USER.
#include <windows.h>

#include "core/store/Messages.h"
#include "core/store/Settings.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"

namespace {

// Win32 wants the subkey without the leading and trailing backslash.
std::string SubKey(const char* path)
{
    std::string s(path);
    if (!s.empty() && s.front() == '\\')
        s.erase(0, 1);
    if (!s.empty() && s.back() == '\\')
        s.pop_back();
    return s;
}

UniqueKey OpenKey(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SubKey(path).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return UniqueKey();
    return UniqueKey(key);
}

UniqueKey CreateKey(const char* path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SubKey(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return UniqueKey();
    return UniqueKey(key);
}

bool ValueExists(HKEY key, const char* name)
{
    return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::uint32_t ReadDword(HKEY key, const char* name)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (rc == ERROR_FILE_NOT_FOUND)
        throw SettingsError(FillIn(kMsgValueMissing, name));
    // A value too large for a DWORD answers ERROR_MORE_DATA: it is of another type.
    if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof data)))
        throw SettingsError(FillIn(kMsgValueWrongType, name));
    if (rc != ERROR_SUCCESS)
        throw SettingsError(FillIn(kMsgValueMissing, name));
    return data;
}

void WriteDword(HKEY key, const char* name, std::uint32_t value)
{
    const DWORD data = value;
    if (RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) != ERROR_SUCCESS)
        throw SettingsError(FillIn(kMsgValueNotWritten, name));
}

// A choice of look, not a setting the program cannot run without: a value
// that is missing, of another type or out of range reads as automatic.
std::uint32_t ReadMenuTheme(HKEY key)
{
    DWORD data = 0;
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExA(key, "MenuTheme", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || data > 2)
        return 0;
    return data;
}

}  // namespace

void LoadSettings()
{
    if (UniqueKey run = OpenKey(kRunKey))
        Settings.StartWithSystem = ValueExists(run.get(), kRunValueName);
    else
        Settings.StartWithSystem = false;

    UniqueKey key = OpenKey(kSettingsKey);
    if (!key) {
        DefaultSettings();
        return;
    }
    Settings.DoubleKeyedPopup = ReadDword(key.get(), "DoubleKeyedPopup") != 0;
    Settings.PopupKey = static_cast<std::int32_t>(ReadDword(key.get(), "PopupKey"));
    // Keys written before these values existed keep the memory-saving mode.
    Settings.ReloadItems = ValueExists(key.get(), "ReloadItems") ? ReadDword(key.get(), "ReloadItems") != 0 : true;
    Settings.ListIconVisible =
        ValueExists(key.get(), "ListIconVisible") ? ReadDword(key.get(), "ListIconVisible") != 0 : true;
    Settings.MenuTheme = ReadMenuTheme(key.get());
}

void SaveSettings()
{
    if (UniqueKey run = CreateKey(kRunKey)) {
        if (Settings.StartWithSystem) {
            const std::string data = RunValueData(ExecutableDirectory() + kRunFileName);
            if (RegSetValueExA(run.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
                throw SettingsError(FillIn(kMsgValueNotWritten, kRunValueName));
        } else {
            RegDeleteValueA(run.get(), kRunValueName);
        }
    }

    if (UniqueKey legacy = OpenKey(kLegacySettingsKey)) {
        legacy.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, SubKey(kLegacySettingsKey).c_str());
    }

    // A key that cannot be made takes none of the values: said as the refusal
    // of the first one, not passed over as if saved.
    UniqueKey key = CreateKey(kSettingsKey);
    if (!key)
        throw SettingsError(FillIn(kMsgValueNotWritten, "DoubleKeyedPopup"));
    WriteDword(key.get(), "DoubleKeyedPopup", Settings.DoubleKeyedPopup ? 1 : 0);
    WriteDword(key.get(), "PopupKey", static_cast<std::uint32_t>(Settings.PopupKey));
    WriteDword(key.get(), "ReloadItems", Settings.ReloadItems ? 1 : 0);
    WriteDword(key.get(), "ListIconVisible", Settings.ListIconVisible ? 1 : 0);
    WriteDword(key.get(), "MenuTheme", Settings.MenuTheme <= 2 ? Settings.MenuTheme : 0);
}
