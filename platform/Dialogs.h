// The program's message boxes: they go through ShowMessageBox (Seams.h), so
// that tests can answer them instead of a person.
#pragma once
#include <windows.h>

#include <string>

#include "platform/Seams.h"

inline constexpr const char* kAppTitle = "迅 -velocara-";

// An error of the file or registry layer, shown as the framework shows an
// uncaught error: the program's caption, a stop icon, OK. DialogShown is set
// while it is open so that the menu is not popped up over it.
void ShowErrorMessage(const std::string& text);
