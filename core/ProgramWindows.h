// The program's two windows, known to everything that shows a window of its
// own or talks to them: the hidden main window (tray icon, timers, raw
// input) and the command window that carries the launch menu. Start-up
// makes them; nothing here calls up into what makes them.
#pragma once
#include <windows.h>

inline constexpr const char* kMainWindowClass = "CLASS_VLCR";
inline constexpr const char* kCommandWindowClass = "CLASS_LAUNCH";
// What the tray icon sends the main window.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 50;  // 1074

extern HWND MainWindow;
extern HWND CommandWindow;
extern HINSTANCE ProgramInstance;

// Off the screen and out of the task switcher.
void HideMainWindow();
