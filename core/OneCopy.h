// One running copy per folder: a second start of the same vlcr.exe asks the
// running copy for its launch menu and ends; copies in other folders (two
// portable installs) run side by side, each with its own list.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// The kernel objects' name for a folder: the same for every spelling of the
// folder's case, different for another folder. No backslash after the
// namespace's own: the name is a hash.
std::string CopyObjectName(std::string_view folder);

// Claims the folder for this process for its whole life; false when another
// copy of the program in that folder runs already.
bool ClaimFolder(const std::string& folder);
// Tells a later start where this copy's main window is.
void PublishMainWindow(HWND mainWindow);
// A later start: asks the running copy to open its launch menu (lets it take
// the foreground) and returns whether there was one to ask.
bool AskRunningCopyForMenu(const std::string& folder);

// A later start with paths ("送る", a drop onto vlcr.exe): hands them to the
// running copy to add; false when there was none to take them.
bool SendPathsToRunningCopy(const std::string& folder, const std::vector<std::wstring>& paths);

// The message a later start posts to the running copy's main window.
UINT OpenMenuRequestMessage();

// WM_COPYDATA's tag for paths to add: wide, each ended by a NUL.
inline constexpr ULONG_PTR kAddPathsCopyData = 0x766C6372;  // "vlcr"
std::vector<std::wstring> PathsFromCopyData(const COPYDATASTRUCT& data);
// The paths this process was started with (none for a plain start).
std::vector<std::wstring> PathsFromCommandLine();
