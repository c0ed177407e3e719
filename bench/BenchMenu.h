// Set-up shared by the benchmarks that show the launch menu.
#pragma once
#include <string>

// The main and command windows, the settings at their defaults and Launch.ini
// in a fresh folder, whose path is returned.
std::string StartBenchMenuWindows();

// A Launch.ini of `items` items, the launch menu over it and an icon strip of
// the right size, icons shown.
void MakeBenchMenu(int items);

// Hidden and left a moment, as a user would, so that the events of the hide
// are not counted in the next showing.
void HideBenchMenu();
