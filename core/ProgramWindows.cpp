#include "core/ProgramWindows.h"

HWND MainWindow = nullptr;
HWND CommandWindow = nullptr;
HINSTANCE ProgramInstance = nullptr;

void HideMainWindow()
{
    ShowWindow(MainWindow, SW_HIDE);
    ShowWindow(MainWindow, SW_MINIMIZE);
    ShowWindow(MainWindow, SW_HIDE);
}
