// The notification-area icon and what its mouse messages do.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>

inline constexpr UINT kTrayIconId = 1;
// A refused icon is offered again every 3 s for 5 minutes, on this timer of
// the main window.
inline constexpr UINT_PTR kTrayRetryTimer = 3;
inline constexpr UINT kTrayRetryMs = 3000;
inline constexpr int kTrayRetries = 100;

// Filled once by AddTrayIcon and used unchanged to delete the icon. Its size
// is the platform's first-version layout (88 bytes in 32-bit Windows, 104 in
// 64-bit, where the handles are wider).
extern NOTIFYICONDATAA TrayIconData;

void AddTrayIcon();
// The retry timer: the icon offered once more.
void RetryTrayIcon();
void DeleteTrayIcon();
// Sets the icon again at the small-icon size of the DPI now, when that changed.
void RefreshTrayIcon();
// Right-button up requests the menu (RequestLaunchMenu); a left double click
// runs the double-click command whatever the busy flags say.
void TrayCallback(WPARAM wParam, LPARAM lParam);
void RunDblClickCommand();
// A balloon from the icon, without a sound; nothing for an empty text.
void ShowTrayBalloon(const std::string& text);

// The shell broadcasts this when the taskbar is made anew (a shell restart).
UINT TaskbarCreatedMessage();
