#include "menu/MenuPlacement.h"

MenuOrigin PlaceMenu(const ScreenRect& taskbar, int screenWidth, int screenHeight, int menuWidth, int menuHeight)
{
    MenuOrigin at;
    if (taskbar.top <= 0 && taskbar.bottom >= screenHeight) {
        at.x = taskbar.left > 0 ? taskbar.left - menuWidth : taskbar.right;
        at.y = screenHeight - menuHeight;
    } else {
        at.y = taskbar.top > 0 ? taskbar.top - menuHeight : taskbar.bottom;
        at.x = screenWidth - menuWidth;
    }
    return at;
}
