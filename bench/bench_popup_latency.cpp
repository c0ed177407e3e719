// How long the user waits for the launch menu. From inside: each step of
// ShowLaunchMenu and the painting after it. From outside: the real vlcr.exe
// and a trivial program with the same loop (the floor) get the tray's
// right-button message posted, and the screen is read until the first row,
// then the last row the screen shows, has its colour.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/LaunchFile.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "core/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"

namespace {

constexpr int kItems = 100;

double NowMs()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double MedianOf(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The ordinary program the user works in: the popup's deactivation comes from
// bringing it to the front. It has a thread of its own that answers its
// messages at once, as a real program does; a stand-in that did not would
// hold up the launcher whenever activation makes the two talk.
struct StandIn {
    HWND window = nullptr;
    HANDLE thread = nullptr;
};

DWORD WINAPI StandInThread(void* param)
{
    auto* standIn = static_cast<StandIn*>(param);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "VLCR_BENCH_APP";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 200, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
    InterlockedExchangePointer(reinterpret_cast<void**>(&standIn->window), h);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(h);
    return 0;
}

StandIn StartForegroundStandIn()
{
    static StandIn standIn;
    standIn.window = nullptr;
    standIn.thread = CreateThread(nullptr, 0, StandInThread, &standIn, 0, nullptr);
    while (!InterlockedCompareExchangePointer(reinterpret_cast<void**>(&standIn.window), nullptr, nullptr))
        Sleep(5);
    return standIn;
}

void StopForegroundStandIn(const StandIn& standIn)
{
    PostThreadMessageA(GetThreadId(standIn.thread), WM_QUIT, 0, 0);
    WaitForSingleObject(standIn.thread, 5000);
    CloseHandle(standIn.thread);
}

// ---- inside: the steps -----------------------------------------------------

std::vector<std::string> g_stepOrder;
std::map<std::string, std::vector<double>> g_steps;
double g_stepStart = 0;

void RecordStep(const char* step)
{
    const double now = NowMs();
    if (std::find(g_stepOrder.begin(), g_stepOrder.end(), step) == g_stepOrder.end())
        g_stepOrder.push_back(step);
    g_steps[step].push_back(now - g_stepStart);
    g_stepStart = now;
}

void ShowLaunchMenuSteps()
{
    // Another thread's window is in front when the menu opens, as the user's
    // program is: bringing the menu forward then costs what it costs there.
    const StandIn standIn = StartForegroundStandIn();
    const std::string dir = StartBenchMenuWindows();
    for (bool saving : {false, true}) {
        MakeBenchMenu(kItems);
        SaveIconStrip();
        Settings.ReloadItems = saving;
        Settings.ListIconVisible = true;
        g_stepOrder.clear();
        g_steps.clear();
        std::vector<double> whole, painted;
        for (int round = 0; round < 21; ++round) {
            SetForegroundWindow(standIn.window);
            PumpBenchMessages();
            ObserveShowStep = RecordStep;
            const double start = NowMs();
            g_stepStart = start;
            ShowLaunchMenu();
            const double shown = NowMs();
            RedrawWindow(CommandWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            const double end = NowMs();
            ObserveShowStep = nullptr;
            if (round == 0) {  // warming up
                g_steps.clear();
            } else {
                whole.push_back(shown - start);
                painted.push_back(end - shown);
            }
            // Deactivation as the command window's procedure does it.
            if (saving)
                ReleaseLaunchData();
            HideBenchMenu();
        }
        std::printf("%d items, icons, memory-saving mode %s (medians of 20):\n", kItems, saving ? "on" : "off");
        for (const std::string& step : g_stepOrder)
            std::printf("  %-30s %7.3f ms\n", step.c_str(), MedianOf(g_steps[step]));
        std::printf("  %-30s %7.3f ms\n  %-30s %7.3f ms\n", "ShowLaunchMenu in all", MedianOf(whole),
                    "then painted", MedianOf(painted));
        LaunchMenu.reset();
        FreeLaunchLists();
        FreeIconStrip();
        DeleteFileA(IconStripCachePath().c_str());
    }
    DeleteFileA(LaunchFilePath().c_str());
    RemoveDirectoryA(dir.c_str());
    LaunchFileDirectory.clear();
    StopForegroundStandIn(standIn);
}
VLCR_BENCHMARK("launch menu: each step of ShowLaunchMenu", ShowLaunchMenuSteps);

// ---- outside: the tray message to rows on screen ---------------------------

constexpr COLORREF kFirstRowColour = kLeftColumnSelected;  // row 0 is selected
constexpr COLORREF kOtherRowColour = kLeftColumnNormal;

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1);
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

std::string BenchLaunchText(int items)
{
    // Real files, so that the shell gives every row an icon.
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

void SetSavingMode(bool saving)
{
    // Every setting written, as the program itself would: a key with some
    // values missing is reported as damaged.
    DefaultSettings();
    Settings.ReloadItems = saving;
    Settings.ListIconVisible = true;
    SaveSettings();
}

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

// Watching the screen in a tight loop would take a core from the programs
// being measured (and from the X server answering each read): a 1 ms nap
// between reads costs both sides the same small rounding.
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

// A folder of its own with a copy of vlcr.exe and a list of that many items.
void PlaceVlcr(const std::string& build, const std::string& dir, int items)
{
    CopyFileA((build + "vlcr.exe").c_str(), (dir + "vlcr.exe").c_str(), FALSE);
    const std::string text = BenchLaunchText(items);
    HANDLE f = CreateFileA((dir + "Launch.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

std::string BuildFolder()
{
    const std::string own = OwnFolder();  // <build>\bench\ .
    return own.substr(0, own.rfind('\\', own.size() - 2) + 1);
}

// Processor time in ms of the Linux processes whose command line holds
// `marker`, read through Wine's drive Z: (Wine answers GetProcessTimes for
// another process with zeros). -1 where there is no /proc to read, on Windows.
double LinuxProcessorMs(const std::string& marker)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA("Z:\\proc\\*", &found);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    auto readAll = [](const std::string& path) {
        std::string text;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
            text.append(buffer, got);
        CloseHandle(f);
        return text;
    };
    double ms = 0;
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
            continue;
        const std::string dir = std::string("Z:\\proc\\") + found.cFileName + "\\";
        std::string command = readAll(dir + "cmdline");
        std::replace(command.begin(), command.end(), '\0', ' ');
        if (command.find(marker) == std::string::npos)
            continue;
        // Fields 14 and 15 (user and system time in clock ticks) follow the
        // parenthesised name, which may hold spaces.
        const std::string stat = readAll(dir + "stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        unsigned long long user = 0, system = 0;
        if (std::sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                        &system) == 2)
            ms += static_cast<double>(user + system) * 10.0;  // USER_HZ is 100 on Linux
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return ms;
}

struct Program {
    const char* name;
    std::string command;
    std::string folder;
    const char* mainClass;
    const char* mainTitle;
    const char* popupClass;
    const char* popupTitle;
};

// Medians of the tray message to the first row, and to the last row the screen
// shows, on screen; and the open popup's processor use.
double MeasureFromOutside(const Program& p, HWND standIn)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = p.command;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        p.folder.empty() ? nullptr : p.folder.c_str(), &si, &pi)) {
        std::printf("  %s: cannot start %s\n", p.name, p.command.c_str());
        return -1;
    }
    HWND main = WaitWindow(p.mainClass, p.mainTitle, 20000);
    HWND popup = WaitWindow(p.popupClass, p.popupTitle, 20000);
    if (!main || !popup) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        std::printf("  %s: no windows (main %p, popup %p, process %s, exit code %lu)\n", p.name,
                    static_cast<void*>(main), static_cast<void*>(popup), code == STILL_ACTIVE ? "running" : "ended",
                    code);
        EnumWindows(
            [](HWND h, LPARAM process) -> BOOL {
                DWORD owner = 0;
                GetWindowThreadProcessId(h, &owner);
                if (owner == static_cast<DWORD>(process)) {
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
                }
                return TRUE;
            },
            static_cast<LPARAM>(pi.dwProcessId));
    }
    Sleep(3000);  // start-up ends: splash gone, strip built, main window hidden
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const POINT first{sw - kMenuWidth + 5, 10};
    const POINT last{sw - kMenuWidth + 5, std::min(sh, ControlHeight(kItems + 2)) - 18};
    HDC screen = GetDC(nullptr);
    std::vector<double> toFirst, toLast;
    int failed = 0;
    double cpuPercent = -1, serverPercent = -1;
    for (int round = 0; main && popup && round < 42; ++round) {
        SetForegroundWindow(standIn);
        const DWORD hideEnd = GetTickCount() + 3000;
        while (IsWindowVisible(popup) && GetTickCount() < hideEnd) {
            PumpBenchMessages();
            Sleep(5);
        }
        if (IsWindowVisible(popup))  // no deactivation came: tell it so
            SendMessageA(popup, WM_ACTIVATEAPP, FALSE, 0);
        // Settled as between a user's openings: the launcher's main window,
        // shown while the menu opens, is hidden again when its countdown
        // ends. Opened before that, a round would find it in another state
        // and pay for other steps.
        const DWORD settleEnd = GetTickCount() + 3000;
        while (IsWindowVisible(main) && GetTickCount() < settleEnd) {
            PumpBenchMessages();
            Sleep(5);
        }
        for (int i = 0; i < 30; ++i) {
            PumpBenchMessages();
            Sleep(10);
        }
        // A popup hidden for Windows may still stand on the X screen: such a
        // round would measure nothing.
        if (!WaitPixelGone(screen, first, kFirstRowColour, 1000)) {
            std::printf("    round %d: the hidden popup's first row is still on screen\n", round);
            ++failed;
            continue;
        }
        const double start = NowMs();
        PostMessageA(main, kTrayCallbackMessage, 0, WM_RBUTTONUP);
        const bool a = WaitPixel(screen, first, kFirstRowColour, 3000);
        const double atFirst = NowMs() - start;
        const bool b = a && WaitPixel(screen, last, kOtherRowColour, 3000);
        const double atLast = NowMs() - start;
        if (!a || !b) {
            RECT r{};
            GetWindowRect(popup, &r);
            std::printf("    round %d: no %s row; pixel %06lx, popup %s at %ld,%ld %ldx%ld\n", round,
                        a ? "last" : "first", GetPixel(screen, a ? last.x : first.x, a ? last.y : first.y),
                        IsWindowVisible(popup) ? "shown" : "hidden", r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
            ++failed;
            continue;
        }
        if (round == 0)
            continue;  // warming up
        toFirst.push_back(atFirst);
        toLast.push_back(atLast);
        if (round == 1) {
            // The open popup's processor use over 5 s, the program's own and
            // the wineserver's it causes: from Linux under Wine, else from
            // Windows' own count.
            const std::string marker = p.command.substr(p.command.rfind('\\') + 1, std::string::npos);
            const std::string exe = marker.substr(0, marker.find('"'));
            const double own0 = LinuxProcessorMs(exe), server0 = LinuxProcessorMs("wineserver");
            FILETIME c, e, k0, u0, k1, u1;
            GetProcessTimes(pi.hProcess, &c, &e, &k0, &u0);
            const double t0 = NowMs();
            Sleep(5000);
            const double own1 = LinuxProcessorMs(exe), server1 = LinuxProcessorMs("wineserver");
            GetProcessTimes(pi.hProcess, &c, &e, &k1, &u1);
            const double span = NowMs() - t0;
            if (own0 >= 0) {
                cpuPercent = 100.0 * (own1 - own0) / span;
                serverPercent = 100.0 * (server1 - server0) / span;
            } else {
                auto ticks = [](FILETIME f) {
                    return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
                };
                cpuPercent =
                    100.0 * static_cast<double>(ticks(k1) - ticks(k0) + ticks(u1) - ticks(u0)) / 10000.0 / span;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    std::printf("  %-34s first row on screen %6.2f ms, last shown row %6.2f ms (medians of %zu; %d failed)\n",
                p.name, MedianOf(toFirst), MedianOf(toLast), toFirst.size(), failed);
    std::printf("    open and untouched for 5 s: %.2f %% of a core", cpuPercent);
    if (serverPercent >= 0)
        std::printf(", the wineserver %.2f %%", serverPercent);
    std::printf("\n");
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return MedianOf(toLast);
}

void PopupLatencyFromOutside()
{
    const std::string build = BuildFolder();
    timeBeginPeriod(1);
    const StandIn started = StartForegroundStandIn();
    HWND standIn = started.window;
    std::printf("tray right-button message posted to rows on screen, %d items with icons:\n", kItems);
    const std::string floor = build + "tests\\tools\\vlcr-popup-floor.exe";
    const double floorMs = MeasureFromOutside({"floor (one plain popup)", "\"" + floor + "\" " + std::to_string(ControlHeight(kItems + 2)),
                        "", "VLCR_POPUP_FLOOR", "floor", "VLCR_POPUP_FLOOR_MENU", "floor menu"},
                       standIn);
    for (bool saving : {false, true}) {
        const std::string dir = BenchTempFolder();
        PlaceVlcr(build, dir, kItems);
        SetSavingMode(saving);
        const double ms =
            MeasureFromOutside({saving ? "vlcr, memory-saving mode on" : "vlcr, memory-saving mode off",
                                "\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle, kCommandWindowClass,
                                kAppTitle},
                               standIn);
        if (floorMs > 0 && ms > 0)
            std::printf("    %.2f times the floor\n", ms / floorMs);
        Sleep(300);
        RemoveFolder(dir);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
    StopForegroundStandIn(started);
    timeEndPeriod(1);
}
VLCR_BENCHMARK("popup latency: tray message to rows on screen, vlcr against the floor", PopupLatencyFromOutside);

// ---- start-up: process start to the tray icon ------------------------------

// The stand-alone tray of Wine (and the notification area) shows its window
// once it holds an icon: the launcher is the only program here that adds one.
bool TrayIconShown()
{
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    if (!tray)
        tray = FindWindowA("Shell_TrayWnd", nullptr);
    return tray && IsWindowVisible(tray);
}

// Medians of the process start to the icon shown. The program is asked to
// quit its own way (a message to its hidden window), which takes the icon
// away again before the next round.
void MeasureStartUp(const char* name, const std::string& command, const std::string& folder, const char* mainClass,
                    const char* mainTitle, UINT quitMessage)
{
    std::vector<double> times;
    int failed = 0;
    for (int round = 0; round < 10; ++round) {
        if (TrayIconShown()) {
            std::printf("  %s: a tray icon is already shown, no figures\n", name);
            return;
        }
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string line = command;
        const double start = NowMs();
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
            ++failed;
            continue;
        }
        bool shown = false;
        while (!shown && NowMs() - start < 20000) {
            shown = TrayIconShown();
            if (!shown)
                Sleep(1);
        }
        const double took = NowMs() - start;
        if (!shown)
            ++failed;
        else if (round > 0)  // the first one warms up
            times.push_back(took);
        if (HWND main = WaitWindow(mainClass, mainTitle, 5000))
            PostMessageA(main, quitMessage, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 0);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        const DWORD end = GetTickCount() + 5000;
        while (TrayIconShown() && GetTickCount() < end)
            Sleep(5);
    }
    std::printf("  %-36s %8.1f ms (medians of %zu; %d failed)\n", name, MedianOf(times), times.size(), failed);
}

void StartUpToTrayIcon()
{
    const std::string build = BuildFolder();
    timeBeginPeriod(1);
    std::printf("process started to tray icon shown, icons on:\n");
    MeasureStartUp("floor (adds its icon at once)", "\"" + build + "tests\\tools\\vlcr-popup-floor.exe\" 100 tray", "",
                   "VLCR_POPUP_FLOOR", "floor", WM_CLOSE);
    for (int items : {10, 100}) {
        for (bool saving : {false, true}) {
            const std::string dir = BenchTempFolder();
            PlaceVlcr(build, dir, items);
            SetSavingMode(saving);
            char name[64];
            std::snprintf(name, sizeof name, "vlcr, %d items, memory-saving %s", items, saving ? "on" : "off");
            MeasureStartUp(name, "\"" + dir + "vlcr.exe\"", dir, kMainWindowClass, kAppTitle, WM_QUIT);
            Sleep(300);
            RemoveFolder(dir);
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ternvale");
    timeEndPeriod(1);
}
VLCR_BENCHMARK("start-up: process started to tray icon shown, 10 and 100 items", StartUpToTrayIcon);

}  // namespace
