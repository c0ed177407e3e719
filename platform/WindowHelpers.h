// Window-manager helpers and the two-colour gradient fill.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

#include "platform/GradientBands.h"

// Paints span + 1 one-pixel bands from the rectangle's first edge to its
// exclusive last edge inclusive (horizontal: columns, otherwise rows). A
// reversed rectangle paints nothing. The DC's selected objects are left alone.
void FillGradient(HDC dc, bool horizontal, const RECT& rect, Colour startColour, Colour endColour);

// One icon of a file (index 0 is the first), large or small; the caller
// destroys it. Null when the file has no such icon.
HICON ExtractFileIcon(const std::string& fileName, int index, bool large);

// An icon's width and height in pixels; 0, 0 for none.
std::pair<int, int> IconPictureSize(HICON icon);

// The program's own icon (its first icon resource) drawn for `size` pixels,
// from the image of that size it carries; the caller destroys it.
HICON LoadProgramIcon(int size);

// The user's temporary folder, always ending in a backslash.
std::string GetTempDirectory();

// The taskbar's screen rectangle; all zero when there is no taskbar window.
RECT GetTaskbarRect();
// A monitor as the menus and forms see it, through the MonitorAt seam.
struct MonitorArea {
    RECT monitor{};
    RECT work{};
};
// The taskbar standing on this monitor: the strip its work area leaves out;
// where that is the whole monitor, a bar that hides itself (as the shell
// tells, or the taskbar's own window reaching in); all zero when it has none.
RECT GetTaskbarRectOn(const MonitorArea& area);
MonitorArea MonitorAreaAt(POINT point);
// The monitor holding most of the window (its centre decides).
MonitorArea MonitorAreaOf(HWND window);
// The monitor where the pointer is.
MonitorArea MonitorAreaAtPointer();

// Brings one of the program's windows to the foreground even where the
// foreground lock would refuse it; the lock timeout is restored afterwards.
// The foreground program's input is shared only when a plain request was
// refused, and never when that program does not answer at once.
void ForceForegroundWindow(HWND target);

// The window in front covers its whole monitor (a game, a film, a slide show,
// not the desktop or the taskbar), or the shell says the user is presenting
// or busy in full screen.
bool FullScreenInFront();
