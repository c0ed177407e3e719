// Paths of launch items as users write them: with environment variables, and
// relative to the program's own folder (a launcher on a USB stick whose drive
// letter changes). Launch.ini keeps them as written; these make what the
// shell and the icon lookup are given.
#pragma once
#include <string>

// %NAME% replaced by the variable's value; an unknown one stays as written.
std::string ExpandVariables(const std::string& text);

// The variables expanded; then a relative path with a folder part (".\x.exe",
// "..\Apps\x.exe", "Tools\x.exe") taken from the program's folder. A bare name
// ("notepad.exe"), a full path and an address stay as they are: the system
// finds the first, the shell opens the others.
std::string ResolveItemPath(const std::string& written);
