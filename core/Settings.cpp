#include "core/Settings.h"

TSettings Settings;

void DefaultSettings()
{
    const TSettings defaults;
    Settings.DoubleKeyedPopup = defaults.DoubleKeyedPopup;
    Settings.PopupKey = defaults.PopupKey;
    Settings.ReloadItems = defaults.ReloadItems;
    Settings.ListIconVisible = defaults.ListIconVisible;
}
