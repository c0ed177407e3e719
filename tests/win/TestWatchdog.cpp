// A test case that hangs (a modal loop nobody ends, a call that waits on
// another program for ever) would otherwise hold the whole run until CTest's
// limit and leave no word of where it stopped. A watchdog thread names the
// case that has run too long and ends the process with a failure.
#include <doctest/doctest.h>
#include <windows.h>

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
