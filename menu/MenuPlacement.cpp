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

SubmenuPlace PlaceSubmenu(const ScreenRect& row, const ScreenRect& work, int width, int height, bool leftward)
{
    SubmenuPlace place;
    const bool fitsRight = row.right + width <= work.right;
    const bool fitsLeft = row.left - width >= work.left;
    if (fitsRight && fitsLeft)
        place.leftward = leftward;
    else if (fitsRight || fitsLeft)
        place.leftward = fitsLeft;
    else  // no room either side: the side with more, kept on the screen
        place.leftward = row.left - work.left > work.right - row.right;
    MenuOrigin& at = place.at;
    at.x = place.leftward ? row.left - width : row.right;
    if (!fitsRight && !fitsLeft)
        at.x = place.leftward ? work.left : work.right - width;
    at.y = row.top;
    if (at.y + height > work.bottom)
        at.y = work.bottom - height;
    if (at.y < work.top)
        at.y = work.top;
    return place;
}
