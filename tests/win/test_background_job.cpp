// A question asked aside must neither lock up with a program that sends to
// us while it is asked, nor wait past its limit for one that never answers.
#include <doctest/doctest.h>
#include <windows.h>

#include <atomic>
#include <memory>

#include "platform/BackgroundJob.h"

namespace {

constexpr UINT kAsked = WM_APP + 41;
constexpr UINT kPosted = WM_APP + 42;
int g_sentHere = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kAsked) {
        ++g_sentHere;
        return static_cast<LRESULT>(wParam) * 2;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CountingWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VlcrTestAside";
    RegisterClassA(&wc);  // a second registration fails harmlessly
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST_CASE("a job asked aside may send to the waiting thread's windows; what it posts waits for the caller's loop")
{
    HWND window = CountingWindow();
    REQUIRE(window);
    g_sentHere = 0;
    auto answer = std::make_shared<LRESULT>(0);
    // The shell does this under Wine: it sends to one of our windows while
    // our question to it is out. A plain wait here would never end.
    const bool ended = RunAsideAndWait(
        [window, answer] {
            PostMessageA(window, kPosted, 0, 0);
            *answer = SendMessageA(window, kAsked, 21, 0);
        },
        30000);
    CHECK(ended);
    CHECK(g_sentHere == 1);
    CHECK(*answer == 42);
    // Still queued: the wait handled none of it.
    MSG msg;
    CHECK(PeekMessageA(&msg, window, kPosted, kPosted, PM_REMOVE));
    DestroyWindow(window);
}

TEST_CASE("a job asked aside that does not end in time is left to go on alone, with what it owns")
{
    // The job can end only once the call has returned: returning at all
    // shows the call did not wait for it.
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto seen = std::make_shared<std::atomic<int>>(0);
    CHECK_FALSE(RunAsideAndWait(
        [release, seen] {
            WaitForSingleObject(release, INFINITE);
            *seen = 7;
        },
        100));
    CHECK(*seen == 0);
    SetEvent(release);
    for (int waited = 0; waited < 30000 && *seen == 0; waited += 10)
        Sleep(10);
    CHECK(*seen == 7);
    CloseHandle(release);
}
