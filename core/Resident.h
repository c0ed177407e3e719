// The program's spine: the hidden main window, start-up and the message loop.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/BusyFlags.h"
#include "core/ProgramWindows.h"

// The one-shot timer that hides the main window after it lost activation.
inline constexpr UINT_PTR kHideTimer = 1;
inline constexpr UINT kHideAfterMs = 300;

int RunResident(HINSTANCE instance);  // the body of WinMain
bool RegisterMainWindowClass();
HWND CreateMainWindow();
void InitResident();
void RunMessageLoop();
// High contrast or the colours changed: asked again, every window redrawn.
void FollowSystemLook();
void ShowFirstRun();
// The main window's messages, from the window base.
LRESULT MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr const char* kFirstRunText =
    "ダウンロードありがとうございます。\r\nランチメニューの登録を行ってください。";
