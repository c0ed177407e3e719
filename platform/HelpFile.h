// The help page: manual\index.html, looked for relative to the current folder
// first and then beside the executable, because a start from the Run key has
// the system folder as its current folder.
#pragma once
#include <windows.h>

#include <string>

inline constexpr const char* kHelpFileName = "manual\\index.html";

// The path to hand to the shell: the relative name while the current folder
// has the page, otherwise the page in `executableDirectory`.
std::string HelpFileToOpen(const std::string& executableDirectory);

// Opens the help through the shell with `owner`; false when the shell refused.
bool OpenHelp(HWND owner);
