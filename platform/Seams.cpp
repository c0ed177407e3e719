#include "platform/Seams.h"

#include <shellapi.h>

MessageBoxFunction ShowMessageBox = MessageBoxA;
OpenFileDialogFunction ShowOpenFileDialog = GetOpenFileNameA;
ShellExecuteFunction ShellExecuteCall = ShellExecuteA;
TrackPopupMenuFunction TrackPopup = TrackPopupMenu;
KeyStateFunction AsyncKeyStateCall = GetAsyncKeyState;
std::string LaunchFileDirectory;

std::int16_t AsyncKeyState(int virtualKey, void*) { return AsyncKeyStateCall(virtualKey); }
