// vlcr: a resident launcher that lives in the notification area.
#include <windows.h>

#include "core/Resident.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunResident(instance); }
