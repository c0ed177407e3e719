#include "menu/MenuPlacement.h"

MenuOrigin PlaceMenu(const ScreenRect& taskbar, const ScreenRect& monitor, int menuWidth, int menuHeight)
{
    MenuOrigin at;
    const bool none = taskbar.left == 0 && taskbar.top == 0 && taskbar.right == 0 && taskbar.bottom == 0;
    if (!none && taskbar.top <= monitor.top && taskbar.bottom >= monitor.bottom) {
        at.x = taskbar.left > monitor.left ? taskbar.left - menuWidth : taskbar.right;
        at.y = monitor.bottom - menuHeight;
    } else {
        at.y = !none && taskbar.top > monitor.top ? taskbar.top - menuHeight : none ? monitor.top : taskbar.bottom;
        at.x = monitor.right - menuWidth;
    }
    return at;
}

MenuOrigin PlaceSubmenu(const ScreenRect& row, const ScreenRect& work, int width, int height)
{
    MenuOrigin at;
    at.x = row.right + width <= work.right ? row.right : row.left - width;
    if (at.x < work.left && row.right + width > work.right)
        at.x = work.left;  // no room either side: over the menu, on the screen
    at.y = row.top;
    if (at.y + height > work.bottom)
        at.y = work.bottom - height;
    if (at.y < work.top)
        at.y = work.top;
    return at;
}
