// A rectangle in screen pixels, for the arithmetic that needs no windows.h.
#pragma once

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const ScreenRect&) const = default;
};
