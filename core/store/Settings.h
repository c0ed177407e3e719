// User options, kept in the per-user registry.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

struct TSettings {
    bool DoubleKeyedPopup = true;
    std::int32_t PopupKey = 162;  // VK_LCONTROL
    bool ReloadItems = false;     // memory-saving mode
    bool ListIconVisible = true;
    bool StartWithSystem = false;
    std::uint32_t MenuTheme = 0;  // 0 automatic (the taskbar's), 1 light, 2 dark
};

extern TSettings Settings;

// The option fields to their defaults; StartWithSystem is left alone.
void DefaultSettings();
void LoadSettings();  // throws SettingsError
void SaveSettings();  // throws SettingsError

// Registry paths as written by the program's users' tools: a leading
// backslash means "from the root key".
inline constexpr const char* kSettingsKey = "\\Software\\Ternvale\\Velocara\\";
inline constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr const char* kLegacySettingsKey = "\\Software\\BrightmoorPine\\Velocara";
inline constexpr const char* kRunValueName = "Velocara";
inline constexpr const char* kRunFileName = "vlcr.exe";
// The Run value for the program's path: in double quotes when it holds a
// space, or "D:\My Tools\vlcr.exe" would have Windows try D:\My.exe first
// at every logon.
std::string RunValueData(const std::string& programPath);

// A registry failure, its message already in the user's language.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Messages naming the registry value (FillIn puts the name in).
inline constexpr const char* kMsgValueMissing = "'%s' の取得に失敗しました";
inline constexpr const char* kMsgValueWrongType = "'%s' のデータ型が不正です";
inline constexpr const char* kMsgValueNotWritten = "'%s' の設定に失敗しました";
