// The platform calls that tests stand in for, all in one place: the message
// boxes, the ANSI code page, the open-file dialog, the shell's open (narrow and wide), the popup menu, the monitors, the key state,
// the tray icon, the shell's notification state and the folder of the launch
// file. The program uses them through these
// names; a test replaces one for a scope with SeamOverride, which puts the
// real one back however the test ends.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/StartMenuFolders.h"

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT style);
using OpenFileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW* request);
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                                LPCSTR directory, INT show);
using TrackPopupMenuFunction = BOOL(WINAPI*)(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                              const RECT* rect);
using KeyStateFunction = SHORT(WINAPI*)(int virtualKey);
using WideMessageBoxFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
using CodePageFunction = UINT(WINAPI*)();
using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAA* data);
using NotificationStateFunction = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE* state);
using WideShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                                    LPCWSTR directory, INT show);
using MonitorAtFunction = bool (*)(POINT point, MONITORINFO* info);
using HighContrastFunction = bool (*)();
using FileAttributesFunction = DWORD(WINAPI*)(LPCWSTR path);
using OpenFolderAndSelectFunction = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE folder, UINT count,
                                                     PCUITEMID_CHILD_ARRAY items, DWORD flags);

extern MessageBoxFunction ShowMessageBox;
// MessageBoxW, for the one message that must read right in any code page.
extern WideMessageBoxFunction ShowWideMessageBox;
// GetACP.
extern CodePageFunction AnsiCodePage;
// GetOpenFileNameW, from comdlg32 loaded when first asked for: the resident
// program does not carry it (and the printing stack it brings) otherwise.
extern OpenFileDialogFunction ShowOpenFileDialog;
extern ShellExecuteFunction ShellExecuteCall;
// ShellExecuteW: what a folder's menu starts, by its full wide path.
extern WideShellExecuteFunction WideShellExecuteCall;
// The monitor nearest a point: its rectangle and work area.
extern MonitorAtFunction MonitorAt;
// GetFileAttributesW for a path on the network: what a share that is away
// makes wait for its time-out.
extern FileAttributesFunction NetworkFileAttributes;
// SPI_GETHIGHCONTRAST's "on" flag: Wine cannot turn it on.
extern HighContrastFunction HighContrastQuery;
extern TrackPopupMenuFunction TrackPopup;
// SHOpenFolderAndSelectItems: Explorer at an item's folder, the item selected.
extern OpenFolderAndSelectFunction OpenFolderAndSelect;
// The Store apps of the shell's Applications folder (Wine has none).
using StoreAppsFunction = std::vector<StoreApp> (*)();
extern StoreAppsFunction StoreApps;
extern KeyStateFunction AsyncKeyStateCall;
// Shell_NotifyIconA: a shell still starting refuses the icon.
extern NotifyIconFunction NotifyIconCall;
// SHQueryUserNotificationState: Wine always answers that notifications are
// welcome.
extern NotificationStateFunction QueryNotificationState;
// The folder of Launch.ini with its trailing backslash; empty means the
// executable's own.
extern std::string LaunchFileDirectory;

// The key state in the shape the key logic asks for it (bit 15: down now),
// through AsyncKeyStateCall.
std::int16_t AsyncKeyState(int virtualKey, void* context);

template <class T>
class SeamOverride {
public:
    SeamOverride(T& seam, T replacement) : seam_(seam), original_(std::exchange(seam, std::move(replacement))) {}
    ~SeamOverride() { seam_ = std::move(original_); }
    SeamOverride(const SeamOverride&) = delete;
    SeamOverride& operator=(const SeamOverride&) = delete;

private:
    T& seam_;
    T original_;
};
