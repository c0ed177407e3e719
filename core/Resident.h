// The program's spine: the hidden main window, start-up, the message loop and
// its 10 ms timer.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/BusyFlags.h"

inline constexpr const char* kMainWindowClass = "CLASS_VLCR";
inline constexpr UINT kTrayCallbackMessage = WM_USER + 50;  // 1074
inline constexpr UINT kTimerPeriodMs = 10;
// The timer wakes the open menu's wait every 10 ms; the limit only bounds a
// wait on a thread without it.
inline constexpr DWORD kOpenMenuWaitLimitMs = 100;

extern HWND MainWindow;
extern HINSTANCE ProgramInstance;

int RunResident(HINSTANCE instance);  // the body of WinMain
bool RegisterMainWindowClass();
HWND CreateMainWindow();
void InitResident();
void RunMessageLoop();
void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
void HideMainWindow();
void ShowFirstRun();
// The main window's messages, from the window base.
LRESULT MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr const char* kFirstRunText =
    "ダウンロードありがとうございます。\r\nランチメニューの登録を行ってください。";
