// The program's spine: the hidden main window, start-up, the message loop and
// its 10 ms timer.
#pragma once
#include <windows.h>

#include "core/BusyFlags.h"

inline constexpr const char* kMainWindowClass = "CLASS_VLCR";
inline constexpr UINT kTrayCallbackMessage = WM_USER + 50;  // 1074
inline constexpr UINT kTimerPeriodMs = 10;

extern HWND MainWindow;
extern HINSTANCE ProgramInstance;

int RunResident(HINSTANCE instance);  // the body of WinMain
bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
void InitResident();
void RunMessageLoop();
void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
void HideMainWindow();
void ShowFirstRun();
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

inline constexpr const char* kFirstRunText =
    "ダウンロードありがとうございます。\r\nランチメニューの登録を行ってください。";
