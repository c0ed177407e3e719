// The small window shown while the launcher starts.
#pragma once
#include <windows.h>

inline constexpr const char* kSplashWindowClass = "CLASS_SPLASH";
inline constexpr int kSplashLeft = 100;
inline constexpr int kSplashTop = 100;
inline constexpr int kSplashWidth = 260;
inline constexpr int kSplashHeight = 60;

extern HWND SplashWindow;

void ShowSplash();
void HideSplash(bool destroy);

// The splash's whole picture, drawn on any DC in client coordinates at that
// DPI (0: the system's). The DC's selected objects, text colour and
// background mode are left as they were.
void PaintSplash(HDC dc, int dpi = 0);
