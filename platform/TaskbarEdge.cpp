#include "platform/TaskbarEdge.h"

#include <algorithm>

ScreenRect BarFromWorkArea(const ScreenRect& monitor, const ScreenRect& work)
{
    const int left = work.left - monitor.left;
    const int top = work.top - monitor.top;
    const int right = monitor.right - work.right;
    const int bottom = monitor.bottom - work.bottom;
    const int most = std::max({left, top, right, bottom});
    if (most <= 0)
        return {};
    // Another docked bar may take a side too: the taskbar is the widest cut.
    if (bottom == most)
        return {monitor.left, work.bottom, monitor.right, monitor.bottom};
    if (left == most)
        return {monitor.left, monitor.top, work.left, monitor.bottom};
    if (top == most)
        return {monitor.left, monitor.top, monitor.right, work.top};
    return {work.right, monitor.top, monitor.right, monitor.bottom};
}

bool BarReaches(const ScreenRect& bar, const ScreenRect& monitor)
{
    if (bar.Empty())
        return false;
    const int left = std::max(bar.left, monitor.left), right = std::min(bar.right, monitor.right);
    const int top = std::max(bar.top, monitor.top), bottom = std::min(bar.bottom, monitor.bottom);
    if (left >= right || top >= bottom)
        return false;
    // Along one whole side: as wide as the monitor at its top or bottom, or
    // as tall at its left or right.
    const bool across = right - left == monitor.Width() && (top == monitor.top || bottom == monitor.bottom);
    const bool along = bottom - top == monitor.Height() && (left == monitor.left || right == monitor.right);
    return across || along;
}
