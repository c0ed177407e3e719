#include "menu/MenuTheme.h"

#include "core/store/Settings.h"
#include "platform/TaskbarTheme.h"

const MenuPalette& ActiveMenuPalette()
{
    const MenuThemeChoice choice = MenuThemeFromValue(Settings.MenuTheme);
    // The registry is read only in automatic, and then once until it changes.
    const bool dark = choice == MenuThemeChoice::Automatic ? !TaskbarLight() : DarkMenus(choice, true);
    return dark ? DarkMenuPalette() : LightMenuPalette();
}
