#include "bench/Outside.h"

#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <cstdio>

#include "bench/Bench.h"
#include "core/store/Settings.h"

ForegroundStandIn::ForegroundStandIn()
{
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    while (!InterlockedCompareExchangePointer(reinterpret_cast<void**>(&window_), nullptr, nullptr))
        Sleep(5);
}

ForegroundStandIn::~ForegroundStandIn()
{
    PostThreadMessageA(GetThreadId(thread_), WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
}

DWORD WINAPI ForegroundStandIn::Run(void* self)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "VLCR_BENCH_APP";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 200, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
    InterlockedExchangePointer(reinterpret_cast<void**>(&static_cast<ForegroundStandIn*>(self)->window_), h);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(h);
    return 0;
}

StartedProgram::StartedProgram(const std::string& command, const std::string& folder)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = command;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &info_))
        info_ = PROCESS_INFORMATION{};
}

StartedProgram::~StartedProgram()
{
    if (!info_.hProcess)
        return;
    if (!WaitEnd(0)) {
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool StartedProgram::WaitEnd(DWORD ms) const { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }

HWND WaitWindow(const char* cls, const char* title, DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        if (HWND h = FindWindowA(cls, title))
            return h;
        Sleep(20);
    }
    return nullptr;
}

void PrintWindowsOf(DWORD processId)
{
    EnumWindows(
        [](HWND h, LPARAM process) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != static_cast<DWORD>(process))
                return TRUE;
            char cls[128] = {}, text[256] = {};
            GetClassNameA(h, cls, sizeof cls);
            GetWindowTextA(h, text, sizeof text);
            std::printf("    window %s \"%s\"%s\n", cls, text, IsWindowVisible(h) ? " (visible)" : "");
            EnumChildWindows(
                h,
                [](HWND c, LPARAM) -> BOOL {
                    char t[512] = {};
                    GetWindowTextA(c, t, sizeof t);
                    std::printf("      child \"%s\"\n", t);
                    return TRUE;
                },
                0);
            return TRUE;
        },
        static_cast<LPARAM>(processId));
}

bool WaitPixel(HDC screen, POINT p, COLORREF want, double limitMs)
{
    const double end = NowMs() + limitMs;
    while (NowMs() < end) {
        if (GetPixel(screen, p.x, p.y) == want)
            return true;
        Sleep(1);
    }
    return false;
}

bool WaitPixelGone(HDC screen, POINT p, COLORREF gone, double limitMs)
{
    const double end = NowMs() + limitMs;
    while (NowMs() < end) {
        if (GetPixel(screen, p.x, p.y) != gone)
            return true;
        Sleep(1);
    }
    return false;
}

std::string ReadWholeFile(const std::string& path)
{
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(f);
    return text;
}

namespace {

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1);
}

std::string BenchLaunchText(int items)
{
    const char* targets[] = {"C:\\windows\\notepad.exe", "C:\\windows\\", "C:\\windows\\regedit.exe",
                             "C:\\windows\\system32\\cmd.exe"};
    std::string text = "VELOCARA_LAUNCHLIST_2\r\n\r\n";
    for (int i = 0; i < items; ++i) {
        text += std::string(targets[i % 4]) + "\r\n";
        text += "道具 " + std::to_string(i) + "\r\n\r\n";
        text += std::string(1, static_cast<char>('A' + i % 26)) + "\r\n\r\n";
    }
    return text;
}

}  // namespace

std::vector<std::string> LinuxProcessFolders(const std::string& marker)
{
    std::vector<std::string> folders;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA("Z:\\proc\\*", &found);
    if (h == INVALID_HANDLE_VALUE)
        return folders;
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
            continue;
        const std::string dir = std::string("Z:\\proc\\") + found.cFileName + "\\";
        std::string command = ReadWholeFile(dir + "cmdline");
        std::replace(command.begin(), command.end(), '\0', ' ');
        if (command.find(marker) != std::string::npos)
            folders.push_back(dir);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return folders;
}

double LinuxProcessorMs(const std::string& marker)
{
    if (GetFileAttributesA("Z:\\proc") == INVALID_FILE_ATTRIBUTES)
        return -1;
    double ms = 0;
    for (const std::string& dir : LinuxProcessFolders(marker)) {
        // Fields 14 and 15 (user and system time in clock ticks) follow the
        // parenthesised name, which may hold spaces.
        const std::string stat = ReadWholeFile(dir + "stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        unsigned long long user = 0, system = 0;
        if (std::sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                        &system) == 2)
            ms += static_cast<double>(user + system) * 10.0;  // USER_HZ is 100 on Linux
    }
    return ms;
}

long long LinuxContextSwitches(const std::string& marker)
{
    if (GetFileAttributesA("Z:\\proc") == INVALID_FILE_ATTRIBUTES)
        return -1;
    long long switches = 0;
    for (const std::string& dir : LinuxProcessFolders(marker)) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((dir + "task\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
                continue;
            const std::string status = ReadWholeFile(dir + "task\\" + found.cFileName + "\\status");
            for (const char* field : {"\nvoluntary_ctxt_switches:", "\nnonvoluntary_ctxt_switches:"}) {
                const std::size_t at = status.find(field);
                if (at != std::string::npos)
                    switches += std::atoll(status.c_str() + at + std::strlen(field));
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    return switches;
}

bool StartLinuxCommand(const std::string& command)
{
    // Wine starts a Linux program named by its path through drive Z: like
    // any other, but hands back no process handle to wait on and junk for the
    // thread's: closing that could close a handle of ours.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = command;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) !=
           FALSE;
}

std::string BuildFolder()
{
    const std::string own = OwnFolder();
    return own.substr(0, own.rfind('\\', own.size() - 2) + 1);
}

void PlaceVlcr(const std::string& build, const std::string& dir, int items)
{
    CopyFileA((build + "vlcr.exe").c_str(), (dir + "vlcr.exe").c_str(), FALSE);
    const std::string text = BenchLaunchText(items);
    HANDLE f = CreateFileA((dir + "Launch.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

void RemoveFolder(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((dir + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

void SetSavingMode(bool saving)
{
    // A key with some values missing is reported as damaged.
    DefaultSettings();
    Settings.ReloadItems = saving;
    Settings.ListIconVisible = true;
    SaveSettings();
}
