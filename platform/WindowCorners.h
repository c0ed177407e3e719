// Windows 11's look for the program's popups: small rounded corners and the
// system's drop shadow. Where the system has no such choice (Windows 10,
// Wine) nothing changes.
#pragma once
#include <windows.h>

void AskSmallRoundCorners(HWND popup);
