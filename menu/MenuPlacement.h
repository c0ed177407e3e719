// Where the launch menu and its folder menus go on the screen: against the
// taskbar of the monitor the menu opens on, whichever side it is on, or at
// that monitor's top right when it has none.
#pragma once
#include "platform/ScreenRect.h"


struct MenuOrigin {
    int x = 0, y = 0;
    bool operator==(const MenuOrigin&) const = default;
};

// A taskbar that spans the monitor's height stands along its left or right
// side: the menu stands beside it with its bottom on the monitor's bottom.
// Otherwise it lies across the top or bottom: the menu hangs below it or sits
// on it, its right edge on the monitor's right edge. A bar that hides itself
// keeps a sliver on the monitor, and the menu stands against that. An
// all-zero rectangle (no taskbar) counts as one across the top: the menu goes
// to the top right.
MenuOrigin PlaceMenu(const ScreenRect& taskbar, const ScreenRect& monitor, int menuWidth, int menuHeight);

// A folder's menu beside the row that opened it (`row`, in screen pixels),
// on the side its parent menu opened to (`leftward`: to the left; the first
// level opens to the right), so that nested menus never come back over the
// menus they came from. It flips only where the work area ends on that side;
// with no room on either side it stands on the side with more room, inside
// the work area, covering as little as it can. Its top is level with the
// row's, moved up as far as its height needs and never above the work area.
struct SubmenuPlace {
    MenuOrigin at;
    bool leftward = false;  // the side it opened to, for the menus it opens
    bool operator==(const SubmenuPlace&) const = default;
};
SubmenuPlace PlaceSubmenu(const ScreenRect& row, const ScreenRect& work, int width, int height,
                          bool leftward = false);
