// Where the launch menu goes on the screen: against the taskbar, whichever
// side it is on, or at the top right when there is none.
#pragma once

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct MenuOrigin {
    int x = 0, y = 0;
    bool operator==(const MenuOrigin&) const = default;
};

// A taskbar that spans the screen's height stands along the left or right
// side: the menu stands beside it with its bottom on the screen's bottom.
// Otherwise it lies across the top or bottom: the menu hangs below it or sits
// on it, its right edge on the screen's right edge. An all-zero rectangle (no
// taskbar) counts as one across the top: the menu goes to the top right.
MenuOrigin PlaceMenu(const ScreenRect& taskbar, int screenWidth, int screenHeight, int menuWidth, int menuHeight);
