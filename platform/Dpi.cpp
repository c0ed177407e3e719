#include "platform/Dpi.h"

#include "platform/Scaling.h"

namespace {

template <class F>
F User32(const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

}  // namespace

int SystemDpi()
{
    static const auto forSystem = User32<GetDpiForSystemFunction>("GetDpiForSystem");
    if (forSystem)
        return static_cast<int>(forSystem());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND hwnd)
{
    static const auto forWindow = User32<GetDpiForWindowFunction>("GetDpiForWindow");
    const int dpi = forWindow && hwnd ? static_cast<int>(forWindow(hwnd)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

int MonitorDpi(HMONITOR monitor)
{
    // shcore.dll is one of the system's own (8.1 and later); it is not
    // loaded before a DPI is wanted.
    static const auto forMonitor = [] {
        HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi)
{
    static const auto forDpi = User32<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    // Older systems have one DPI: the system's metrics are already for it.
    return GetSystemMetrics(index);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi)
{
    static const auto forDpi = User32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (forDpi)
        forDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, menu, exStyle);
}
