// A test case that hangs (a modal loop nobody ends, a call that waits on
// another program for ever) would otherwise hold the whole run until CTest's
// limit and leave no word of where it stopped. A watchdog thread names the
// case that has run too long and ends the process with a failure.
#include <doctest/doctest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

// Far above the slowest case (the thousand menu openings, under a minute),
// well under CTest's limit for the run.
constexpr DWORD kDefaultLimitSeconds = 240;

// The running case's name (doctest keeps it for the program's life) and when
// it started; null between cases.
std::atomic<const char*> g_running{nullptr};
std::atomic<DWORD> g_startedAt{0};

// Written straight to the handle: a suspended thread may hold the C
// library's stream lock.
void Say(const char* format, auto... values)
{
    char line[MAX_PATH + 40];
    const int n = std::snprintf(line, sizeof line, format, values...);
    DWORD written = 0;
    if (n > 0)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(std::min<int>(n, sizeof line - 1)),
                  &written, nullptr);
}

void PrintFrame(DWORD64 pc)
{
    HMODULE module = nullptr;
    char path[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(pc), &module))
        GetModuleFileNameA(module, path, sizeof path);
    Say("  %s+0x%llx\n", path, static_cast<unsigned long long>(pc - reinterpret_cast<DWORD64>(module)));
}

void PrintStack(HANDLE thread)
{
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    if (!GetThreadContext(thread, &context))
        return;
    for (int frame = 0; frame < 48 && context.Rip; ++frame) {
        PrintFrame(context.Rip);
        DWORD64 base = 0;
        RUNTIME_FUNCTION* function = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
        if (!function) {  // a leaf: its return address is on top of the stack
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
            continue;
        }
        void* handlerData = nullptr;
        DWORD64 establisher = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, function, &context, &handlerData, &establisher,
                         nullptr);
    }
}

// Where each of the process's other threads stands, so that a hang seen
// only elsewhere can be placed from its log alone.
DWORD WINAPI PrintOtherThreads(void*)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId())
            continue;
        const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, entry.th32ThreadID);
        Say("thread %lu:\n", static_cast<unsigned long>(entry.th32ThreadID));
        if (thread && SuspendThread(thread) != static_cast<DWORD>(-1)) {
            PrintStack(thread);
            ResumeThread(thread);
        }
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return 0;
}

DWORD WINAPI Watch(void*)
{
    const char* text = std::getenv("VLCR_TEST_CASE_LIMIT_S");
    const long seconds = text ? std::strtol(text, nullptr, 10) : 0;
    const DWORD limitMs = (seconds > 0 ? static_cast<DWORD>(seconds) : kDefaultLimitSeconds) * 1000;
    for (;;) {
        Sleep(1000);
        const char* name = g_running.load();
        if (name && GetTickCount() - g_startedAt.load() > limitMs) {
            std::fprintf(stderr, "\nwatchdog: test case still running after %lu s, stopped: %s\n",
                         static_cast<unsigned long>(limitMs / 1000), name);
            std::fflush(stderr);
            // Printed from a thread of its own, given a while: a lock held
            // by the hung thread must not keep the process from ending.
            if (HANDLE printer = CreateThread(nullptr, 0, PrintOtherThreads, nullptr, 0, nullptr)) {
                WaitForSingleObject(printer, 15000);
                CloseHandle(printer);
            }
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

struct WatchdogListener : doctest::IReporter {
    explicit WatchdogListener(const doctest::ContextOptions&) {}

    void test_run_start() override
    {
        if (HANDLE thread = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr))
            CloseHandle(thread);
    }
    void test_case_start(const doctest::TestCaseData& data) override
    {
        g_startedAt = GetTickCount();
        g_running = data.m_name;
    }
    void test_case_end(const doctest::CurrentTestCaseStats&) override { g_running = nullptr; }

    void report_query(const doctest::QueryData&) override {}
    void test_run_end(const doctest::TestRunStats&) override {}
    void test_case_reenter(const doctest::TestCaseData&) override {}
    void test_case_exception(const doctest::TestCaseException&) override {}
    void subcase_start(const doctest::SubcaseSignature&) override {}
    void subcase_end() override {}
    void log_assert(const doctest::AssertData&) override {}
    void log_message(const doctest::MessageData&) override {}
    void test_case_skipped(const doctest::TestCaseData&) override {}
};

}  // namespace

DOCTEST_REGISTER_LISTENER("watchdog", 1, WatchdogListener);
