#include "platform/ModulePath.h"

#include <windows.h>

#include <vector>

#include "platform/PathText.h"

bool IsAnsiLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }

void RestrictLibrarySearch()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (restrict)
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::string ExecutablePath()
{
    // Long paths are rare but legal; grow until the name fits.
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size() - 1)
            return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableDirectory() { return DirectoryPart(ExecutablePath(), IsAnsiLeadByte); }
