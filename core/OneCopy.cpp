#include "core/OneCopy.h"

#include <shellapi.h>

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

namespace {

// The running copy's main window; it may still be starting: its window is
// published right after it is made, so a short wait finds it.
HWND RunningCopyWindow(const std::string& folder)
{
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
    return target;
}

}  // namespace

bool AskRunningCopyForMenu(const std::string& folder)
{
    const HWND target = RunningCopyWindow(folder);
    if (!target)
        return false;
    // This start came from the user, so it may pass the foreground on.
    DWORD process = 0;
    GetWindowThreadProcessId(target, &process);
    AllowSetForegroundWindow(process);
    return PostMessageA(target, OpenMenuRequestMessage(), 0, 0) != FALSE;
}

bool SendPathsToRunningCopy(const std::string& folder, const std::vector<std::wstring>& paths)
{
    const HWND target = RunningCopyWindow(folder);
    if (!target)
        return false;
    std::wstring packed;
    for (const std::wstring& path : paths)
        packed += path + L'\0';
    COPYDATASTRUCT data{};
    data.dwData = kAddPathsCopyData;
    data.cbData = static_cast<DWORD>(packed.size() * sizeof(wchar_t));
    data.lpData = packed.data();
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                               &answer) != 0 &&
           answer == TRUE;
}

std::vector<std::wstring> PathsFromCopyData(const COPYDATASTRUCT& data)
{
    std::vector<std::wstring> paths;
    if (data.dwData != kAddPathsCopyData || !data.lpData || data.cbData % sizeof(wchar_t) != 0)
        return paths;
    const auto* text = static_cast<const wchar_t*>(data.lpData);
    const std::size_t count = data.cbData / sizeof(wchar_t);
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (text[i] == L'\0') {
            if (i > start)
                paths.emplace_back(text + start, i - start);
            start = i + 1;
        }
    return paths;  // a last path without its NUL is not taken: the data was cut
}

std::vector<std::wstring> PathsFromCommandLine()
{
    std::vector<std::wstring> paths;
    int count = 0;
    if (LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            if (args[i][0] != L'\0')
                paths.emplace_back(args[i]);
        LocalFree(args);
    }
    return paths;
}

UINT OpenMenuRequestMessage()
{
    static const UINT message = RegisterWindowMessageA("vlcr: open the launch menu");
    return message;
}
