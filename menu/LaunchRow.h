// What a chosen row of the launch menu does.
#pragma once

inline constexpr const char* kQuitQuestion = "終了しますか？";

// An item row opens its item through the shell; the cancel row does nothing;
// the quit row asks and, on OK, has the main window shut the program down.
// Then, whatever happened, the menu is hidden and the foreground handed back.
// `elevated` starts an item as administrator (the shell's "runas": the system
// asks for consent); the fixed rows ignore it.
void LaunchRow(int index, bool elevated = false);
