// Every hand-over to the shell goes through one replaceable function, so that
// tests can see exactly what would have been opened.
#pragma once
#include <windows.h>

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                                LPCSTR directory, INT show);
extern ShellExecuteFunction ShellLaunch;  // ShellExecuteA
