// The shortcut "迅 に登録" in the user's Send To folder, which hands the files
// chosen in Explorer to vlcr.exe: nothing else is written outside the
// program's folder and settings key.
#pragma once
#include <string>

std::wstring SendToShortcutPath();  // "" where the system has no Send To folder
bool SendToShortcutExists();
// Made to start `program` (vlcr.exe's full path); true when it is there after.
bool CreateSendToShortcut(const std::wstring& program);
// True when it is gone after.
bool RemoveSendToShortcut();
