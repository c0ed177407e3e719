// A list with an item on a share that is asleep, shown again and again in
// memory-saving mode (each showing reads the list anew): how many threads
// and handles the program holds meanwhile and once the share has answered.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>

#include "bench/Bench.h"
#include "bench/BenchMenu.h"
#include "core/store/Settings.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Raii.h"
#include "platform/Seams.h"

namespace {

constexpr DWORD kShareWaitMs = 3000;
constexpr int kShowings = 200;

DWORD WINAPI AsleepShare(LPCWSTR)
{
    Sleep(kShareWaitMs);  // as a sleeping NAS before its time-out
    return INVALID_FILE_ATTRIBUTES;
}

int Threads()
{
    const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    return count;
}

// Kernel handles open in the process. Wine answers GetProcessHandleCount
// with 0: there every handle value is tried instead.
DWORD Handles()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return count;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    return count;
}

void Report(const char* when)
{
    std::printf("  %-44s threads %4d, handles %5lu\n", when, Threads(), Handles());
}

void NetworkItemShowings()
{
    const std::string dir = StartBenchMenuWindows();
    MakeBenchMenu(10);
    std::string list = "VELOCARA_LAUNCHLIST_2\r\n\r\n\\\\nas-asleep\\share\\tool.exe\r\nshare\r\n\r\n\r\n\r\n";
    for (int i = 0; i < 9; ++i)
        list += "C:\\t\\tool" + std::to_string(i) + ".exe\r\ntool\r\n\r\n\r\n\r\n";
    HANDLE file = CreateFileA((dir + "Launch.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
    CloseHandle(file);
    const SeamOverride<FileAttributesFunction> share(NetworkFileAttributes, AsleepShare);
    Settings.ReloadItems = true;
    std::printf("%d showings in memory-saving mode, a share that answers after %lu ms:\n", kShowings,
                kShareWaitMs);
    Report("before");
    const double start = NowMs();
    for (int i = 0; i < kShowings; ++i) {
        ShowLaunchMenu();
        PumpBenchMessages();
        CloseLaunchMenuState();
        PumpBenchMessages();
    }
    std::printf("  (the showings took %.0f ms)\n", NowMs() - start);
    Report("right after the showings");
    const double wait = NowMs();
    while (NowMs() - wait < kShareWaitMs + 1500) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpBenchMessages();
    }
    Report("once the share has answered");
    Settings.ReloadItems = false;
}
VLCR_BENCHMARK("network items: threads and handles over 200 showings of a sleeping share", NetworkItemShowings);

}  // namespace
