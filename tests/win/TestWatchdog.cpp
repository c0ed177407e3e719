// A test case that hangs (a modal loop nobody ends, a call that waits on
// another program for ever) would otherwise hold the whole run until CTest's
// limit and leave no word of where it stopped. A watchdog thread names the
// case that has run too long and ends the process with a failure.
#include <doctest/doctest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Far above the slowest case (the thousand menu openings, under a minute),
// well under CTest's limit for the run.
constexpr DWORD kDefaultLimitSeconds = 240;

struct Watched {
    CRITICAL_SECTION lock;
    std::string name;
    DWORD startedAt = 0;
    bool running = false;
    Watched() { InitializeCriticalSection(&lock); }
};

Watched& Current()
{
    static Watched* watched = new Watched;  // never freed: the watchdog outlives main
    return *watched;
}

DWORD LimitSeconds()
{
    const char* text = std::getenv("VLCR_TEST_CASE_LIMIT_S");
    const long n = text ? std::strtol(text, nullptr, 10) : 0;
    return n > 0 ? static_cast<DWORD>(n) : kDefaultLimitSeconds;
}

DWORD WINAPI Watch(void*)
{
    const DWORD limitMs = LimitSeconds() * 1000;
    Watched& w = Current();
    for (;;) {
        Sleep(1000);
        EnterCriticalSection(&w.lock);
        const bool over = w.running && GetTickCount() - w.startedAt > limitMs;
        const std::string name = w.name;
        LeaveCriticalSection(&w.lock);
        if (over) {
            std::fprintf(stderr, "\nwatchdog: test case still running after %lu s, stopped: %s\n",
                         static_cast<unsigned long>(limitMs / 1000), name.c_str());
            std::fflush(stderr);
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

struct WatchdogListener : doctest::IReporter {
    explicit WatchdogListener(const doctest::ContextOptions&) {}

    void report_query(const doctest::QueryData&) override {}
    void test_run_start() override
    {
        if (HANDLE thread = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr))
            CloseHandle(thread);
    }
    void test_run_end(const doctest::TestRunStats&) override {}
    void test_case_start(const doctest::TestCaseData& data) override
    {
        Watched& w = Current();
        EnterCriticalSection(&w.lock);
        w.name = data.m_name;
        w.startedAt = GetTickCount();
        w.running = true;
        LeaveCriticalSection(&w.lock);
    }
    void test_case_reenter(const doctest::TestCaseData&) override {}
    void test_case_end(const doctest::CurrentTestCaseStats&) override
    {
        Watched& w = Current();
        EnterCriticalSection(&w.lock);
        w.running = false;
        LeaveCriticalSection(&w.lock);
    }
    void test_case_exception(const doctest::TestCaseException&) override {}
    void subcase_start(const doctest::SubcaseSignature&) override {}
    void subcase_end() override {}
    void log_assert(const doctest::AssertData&) override {}
    void log_message(const doctest::MessageData&) override {}
    void test_case_skipped(const doctest::TestCaseData&) override {}
};

}  // namespace

DOCTEST_REGISTER_LISTENER("watchdog", 1, WatchdogListener);
