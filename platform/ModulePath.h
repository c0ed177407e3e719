#pragma once
#include <string>

// Full path of the running executable, and its directory with the trailing
// backslash.
std::string ExecutablePath();
std::string ExecutableDirectory();

// IsDBCSLeadByte for the system's ANSI code page, for the path scans.
bool IsAnsiLeadByte(unsigned char b);
