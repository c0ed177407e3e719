// Windows' own DLLs that are not Known DLLs, loaded from System32 and only
// when first needed: a DLL of the same name beside vlcr.exe (a Downloads
// folder, a shared stick) is never the one that runs.
#pragma once
#include <windows.h>

HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of such a DLL, or null where the DLL or the function is missing.
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name)
{
    const HMODULE module = LoadSystemLibrary(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
