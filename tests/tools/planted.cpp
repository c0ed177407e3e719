// A DLL of a name no system has, planted beside a program by the test that
// checks the program never loads it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
