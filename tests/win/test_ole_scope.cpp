#include <doctest/doctest.h>
#include <windows.h>

#include <thread>

#include "platform/Raii.h"

namespace {

// Runs a check on a fresh thread, which starts with no apartment.
template <class F>
void OnFreshThread(F f)
{
    std::thread(f).join();
}

}  // namespace

TEST_CASE("OleScope gives the thread a single-threaded apartment for its life")
{
    OnFreshThread([] {
        {
            const OleScope ole;
            CHECK(ole.ok());
            // The thread is in a single-threaded apartment now.
            CHECK(CoInitializeEx(nullptr, COINIT_MULTITHREADED) == RPC_E_CHANGED_MODE);
        }
        // Gone with the scope: the thread may now join the other kind.
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CHECK(hr == S_OK);
        if (SUCCEEDED(hr))
            CoUninitialize();
    });
}

TEST_CASE("OleScope on a thread of the other apartment kind fails and leaves that apartment alone")
{
    OnFreshThread([] {
        REQUIRE(CoInitializeEx(nullptr, COINIT_MULTITHREADED) == S_OK);
        {
            const OleScope ole;
            CHECK_FALSE(ole.ok());
        }
        // Still initialised once, by this thread: a second call only counts.
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CHECK(again == S_FALSE);
        if (SUCCEEDED(again))
            CoUninitialize();
        CoUninitialize();
    });
}
