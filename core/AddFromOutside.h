// Files and folders handed to the program from outside it: "送る" in
// Explorer, or a drop onto vlcr.exe. Each becomes an item at the end of the
// list, saved at once; the tray icon's balloon says what was added.
#pragma once
#include <string>
#include <vector>

// What came of the paths: the names added, and the paths that do not exist.
struct OutsideAdded {
    std::vector<std::string> names;
    std::vector<std::string> missing;  // as shown in a message
};
OutsideAdded AddPathsFromOutside(const std::vector<std::wstring>& paths);

// The balloon's text for what was added.
std::string AddedBalloonText(const OutsideAdded& added);
