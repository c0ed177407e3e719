// Message boxes go through one replaceable function, so that tests can answer
// them instead of a person.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT style);
extern MessageBoxFunction ShowMessageBox;

// The common open-file dialog, replaceable so that tests can answer it.
using OpenFileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA* request);
extern OpenFileDialogFunction ShowOpenFileDialog;

inline constexpr const char* kAppTitle = "迅 -velocara-";

// An error of the file or registry layer, shown as the framework shows an
// uncaught error: the program's caption, a stop icon, OK. DialogShown is set
// while it is open so that the menu is not popped up over it.
void ShowErrorMessage(const std::string& text);
