#include "platform/TaskbarTheme.h"

#include <windows.h>

namespace {

constexpr const char* kPersonalizeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

bool asked = false;
bool light = true;

bool AskTaskbarLight()
{
    DWORD value = 1;
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return true;
    const LONG rc = RegQueryValueExA(key, "SystemUsesLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return rc != ERROR_SUCCESS || type != REG_DWORD || value != 0;
}

}  // namespace

bool TaskbarLight()
{
    if (!asked)
        RefreshTaskbarTheme();
    return light;
}

bool RefreshTaskbarTheme()
{
    const bool now = AskTaskbarLight();
    const bool changed = asked && now != light;
    asked = true;
    light = now;
    return changed;
}
