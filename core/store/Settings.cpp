#include "core/store/Settings.h"

TSettings Settings;

std::string RunValueData(const std::string& programPath)
{
    return programPath.find(' ') == std::string::npos ? programPath : '"' + programPath + '"';
}

void DefaultSettings()
{
    const TSettings defaults;
    Settings.DoubleKeyedPopup = defaults.DoubleKeyedPopup;
    Settings.PopupKey = defaults.PopupKey;
    Settings.ReloadItems = defaults.ReloadItems;
    Settings.ListIconVisible = defaults.ListIconVisible;
    Settings.MenuTheme = defaults.MenuTheme;
}
