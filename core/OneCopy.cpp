#include "core/OneCopy.h"

#include <cstdint>
#include <cstdio>


namespace {

HANDLE g_folderClaim = nullptr;  // held until the process ends
HANDLE g_windowMapping = nullptr;

std::string WindowMappingName(const std::string& folder) { return CopyObjectName(folder) + "-window"; }

// The folder the claim was made for, for the window's mapping.
std::string g_claimedFolder;

}  // namespace

std::string CopyObjectName(std::string_view folder)
{
    // FNV-1a over the folder's bytes with ASCII letters folded: Windows does
    // not tell C:\Tools from c:\tools. Trail bytes of double-byte characters
    // are folded too, which can only make two folders share a name, never
    // split one folder in two.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : folder) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 'a' + 'A');
        hash = (hash ^ c) * 1099511628211ull;
    }
    char name[40];
    std::snprintf(name, sizeof name, "Local\\vlcr-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

bool ClaimFolder(const std::string& folder)
{
    g_folderClaim = CreateMutexA(nullptr, FALSE, CopyObjectName(folder).c_str());
    const bool first = g_folderClaim && GetLastError() != ERROR_ALREADY_EXISTS;
    if (first)
        g_claimedFolder = folder;
    return first;
}

void PublishMainWindow(HWND mainWindow)
{
    if (g_claimedFolder.empty())
        return;
    g_windowMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(std::uint64_t),
                                         WindowMappingName(g_claimedFolder).c_str());
    if (!g_windowMapping)
        return;
    if (void* view = MapViewOfFile(g_windowMapping, FILE_MAP_WRITE, 0, 0, sizeof(std::uint64_t))) {
        *static_cast<volatile std::uint64_t*>(view) = reinterpret_cast<std::uintptr_t>(mainWindow);
        UnmapViewOfFile(view);
    }
}

bool AskRunningCopyForMenu(const std::string& folder)
{
    // The running copy may still be starting: its window is published right
    // after it is made, so a short wait finds it.
    HWND target = nullptr;
    for (int attempt = 0; attempt < 50 && !target; ++attempt) {
        if (HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, WindowMappingName(folder).c_str())) {
            if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(std::uint64_t))) {
                target = reinterpret_cast<HWND>(
                    static_cast<std::uintptr_t>(*static_cast<const volatile std::uint64_t*>(view)));
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
        if (!target || !IsWindow(target)) {
            target = nullptr;
            Sleep(100);
        }
    }
    if (!target)
        return false;
    // This start came from the user, so it may pass the foreground on.
    DWORD process = 0;
    GetWindowThreadProcessId(target, &process);
    AllowSetForegroundWindow(process);
    return PostMessageA(target, OpenMenuRequestMessage(), 0, 0) != FALSE;
}

UINT OpenMenuRequestMessage()
{
    static const UINT message = RegisterWindowMessageA("vlcr: open the launch menu");
    return message;
}
