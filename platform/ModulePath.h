#pragma once
#include <string>

// Full path of the running executable, and its directory with the trailing
// backslash.
std::string ExecutablePath();
std::string ExecutableDirectory();

// IsDBCSLeadByte for the system's ANSI code page, for the path scans.
bool IsAnsiLeadByte(unsigned char b);

// Libraries are looked for in the system folder only from now on: a DLL
// planted beside the program (in a Downloads folder) is never loaded in
// place of a system one. Windows without the call (7 before its 2011
// update) keeps its own order.
void RestrictLibrarySearch();
