#include "platform/WindowHelpers.h"

#include <shellapi.h>

#include "platform/ModulePath.h"
#include "platform/PathText.h"

std::string GetTempDirectory()
{
    char buffer[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathA(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH)
        return std::string(".\\");  // nowhere better: the current folder
    return WithTrailingBackslash(std::string(buffer, n), IsAnsiLeadByte);
}

HICON ExtractFileIcon(const std::string& fileName, int index, bool large)
{
    HICON big = nullptr;
    HICON small = nullptr;
    // A missing file answers UINT_MAX, not 0, and leaves junk in both places:
    // only a count of icons extracted makes the handles worth anything.
    const UINT extracted = ExtractIconExA(fileName.c_str(), index, &big, &small, 1);
    if (extracted == 0 || extracted == UINT_MAX)
        return nullptr;
    HICON keep = large ? big : small;
    HICON drop = large ? small : big;
    if (drop)
        DestroyIcon(drop);
    return keep;
}

RECT GetTaskbarRect()
{
    RECT r{0, 0, 0, 0};
    HWND taskbar = FindWindowA("Shell_TrayWnd", "");
    if (!taskbar)
        return r;
    EnableWindow(taskbar, TRUE);
    if (!GetWindowRect(taskbar, &r))
        r = RECT{0, 0, 0, 0};
    return r;
}

void ForceForegroundWindow(HWND target)
{
    HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    AttachThreadInput(ownThread, foregroundThread, TRUE);
    DWORD savedTimeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0);
    // For this action the new timeout travels as the pointer argument's value.
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetForegroundWindow(target);
    SetActiveWindow(target);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<PVOID>(static_cast<UINT_PTR>(savedTimeout)), 0);
    AttachThreadInput(ownThread, foregroundThread, FALSE);
    BringWindowToTop(target);
}
