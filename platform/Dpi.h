// The DPI a window is drawn at, asked of the system where it can tell. The
// calls that know a window's or a monitor's own DPI came with Windows 8.1 and
// 10; they are looked up at run time, and older systems get the system DPI.
#pragma once
#include <windows.h>

int SystemDpi();
// The window's own DPI (the monitor it is on), else the system DPI.
int WindowDpi(HWND hwnd);
// The DPI of the monitor, else the system DPI.
int MonitorDpi(HMONITOR monitor);
// GetSystemMetrics for that DPI (SM_CXSMICON and the like).
int SystemMetricForDpi(int index, int dpi);
// The window rectangle for a client rectangle at that DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
// The system's small-icon size at that DPI: 16 at 96.
inline int SmallIconSize(int dpi) { return SystemMetricForDpi(SM_CXSMICON, dpi); }
