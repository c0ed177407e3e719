// One running copy per folder: a second start of the same vlcr.exe asks the
// running copy for its launch menu and ends; copies in other folders (two
// portable installs) run side by side, each with its own list.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

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

// The message a later start posts to the running copy's main window.
UINT OpenMenuRequestMessage();
