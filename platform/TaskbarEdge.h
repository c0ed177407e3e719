// Where a monitor's taskbar stands, from what the system says of it: the
// work area it leaves, or the rectangle of a bar that hides itself.
#pragma once
#include "platform/ScreenRect.h"

// The strip of the monitor that the work area leaves out, on the side where
// it leaves out most; all zero when the work area is the whole monitor (the
// bar hides itself, or there is none).
ScreenRect BarFromWorkArea(const ScreenRect& monitor, const ScreenRect& work);

// A bar's window that lies along the monitor's edge and reaches into it, if
// only by the sliver an auto-hidden bar keeps on screen. A bar that stands on
// another monitor does not.
bool BarReaches(const ScreenRect& bar, const ScreenRect& monitor);
