#include <doctest/doctest.h>

#include <set>
#include <vector>

#include "core/DoubleKeyWatch.h"

namespace {
constexpr int kLCtrl = 162, kRCtrl = 163, kC = 'C';

// A keyboard whose keys a script presses and releases, polled every 10 ms.
struct Keyboard {
    std::set<int> down;
    std::set<int> pressedSinceOnly;  // only the low "pressed since" bit set
    std::uint32_t now = 1000;
    std::uint32_t limit = 500;
    int popupKey = kLCtrl;
    DoubleKeyState state;
    std::vector<std::uint32_t> requests;
    std::vector<int> queried;

    static std::int16_t Query(int vk, void* self)
    {
        auto* k = static_cast<Keyboard*>(self);
        k->queried.push_back(vk);
        if (k->down.count(vk))
            return static_cast<std::int16_t>(0x8000);
        return k->pressedSinceOnly.count(vk) ? 1 : 0;
    }
    void Tick()
    {
        queried.clear();
        if (PollDoubleKey(state, now, limit, popupKey, Query, this)) {
            requests.push_back(now);
            FinishDoublePress(state);
        }
        now += 10;
    }
    void Hold(int vk, int ticks)
    {
        down.insert(vk);
        for (int i = 0; i < ticks; ++i)
            Tick();
    }
    void Release(int vk, int ticks)
    {
        down.erase(vk);
        for (int i = 0; i < ticks; ++i)
            Tick();
    }
};
}  // namespace

TEST_CASE("press, release, press within the limit: one request at the second down edge")
{
    Keyboard kb;
    kb.Hold(kLCtrl, 3);
    CHECK(kb.state.PressState == 1);
    CHECK(kb.state.FirstPressTick == 1000);
    kb.Release(kLCtrl, 2);
    CHECK(kb.state.PressState == 2);
    const std::uint32_t secondDown = kb.now;
    kb.Hold(kLCtrl, 1);
    REQUIRE(kb.requests.size() == 1);
    CHECK(kb.requests[0] == secondDown);  // at the down edge, not at the release
    CHECK(kb.state.PressState == 0);
    CHECK(kb.state.FirstPressTick == 0);
    kb.Hold(kLCtrl, 50);  // holding on becomes a first press of a new sequence, nothing more
    CHECK(kb.requests.size() == 1);
    CHECK(kb.state.PressState == 1);
}

TEST_CASE("a long hold does nothing, and the release then waits however long")
{
    Keyboard kb;
    kb.Hold(kLCtrl, 300);
    CHECK(kb.state.PressState == 1);
    kb.Release(kLCtrl, 500);
    CHECK(kb.state.PressState == 2);
    CHECK(kb.requests.empty());
}

TEST_CASE("a pause longer than the limit: no request; that press starts a new sequence")
{
    Keyboard kb;
    kb.Hold(kLCtrl, 2);
    kb.Release(kLCtrl, 60);  // 600 ms > 500
    kb.Hold(kLCtrl, 1);
    CHECK(kb.requests.empty());
    CHECK(kb.state.PressState == 0);  // state 2 with a late press goes to 0
    kb.Hold(kLCtrl, 1);               // the next tick with the key still down: new first press
    CHECK(kb.state.PressState == 1);
    kb.Release(kLCtrl, 1);
    kb.Hold(kLCtrl, 1);
    CHECK(kb.requests.size() == 1);
}

TEST_CASE("the limit is between the two down edges, compared strictly")
{
    Keyboard kb;
    kb.limit = 100;
    kb.Hold(kLCtrl, 1);   // down at 1000
    kb.Release(kLCtrl, 9);  // the second down comes at 1100: 100 is not < 100
    kb.Hold(kLCtrl, 1);
    CHECK(kb.requests.empty());

    Keyboard kb2;
    kb2.limit = 101;
    kb2.Hold(kLCtrl, 1);
    kb2.Release(kLCtrl, 9);
    kb2.Hold(kLCtrl, 1);
    CHECK(kb2.requests.size() == 1);
}

TEST_CASE("Ctrl, C, Ctrl, C: the letter cancels the press in progress")
{
    Keyboard kb;
    kb.Hold(kLCtrl, 2);
    kb.Hold(kC, 3);  // Ctrl+C
    kb.Release(kC, 0);
    kb.Release(kLCtrl, 2);
    kb.Hold(kLCtrl, 2);
    kb.Hold(kC, 3);
    kb.Release(kC, 0);
    kb.Release(kLCtrl, 2);
    CHECK(kb.requests.empty());
}

TEST_CASE("Ctrl+C twice, releasing C before Ctrl, with ticks between every change")
{
    Keyboard kb;
    for (int round = 0; round < 2; ++round) {
        kb.Hold(kLCtrl, 3);
        kb.Hold(kC, 4);
        kb.Release(kC, 3);  // Ctrl still held after C is up
        kb.Release(kLCtrl, 3);
    }
    CHECK(kb.requests.empty());
    // The same for odd hold lengths of C.
    Keyboard odd;
    for (int round = 0; round < 2; ++round) {
        odd.Hold(kLCtrl, 2);
        odd.Hold(kC, 3);
        odd.Release(kC, 2);
        odd.Release(kLCtrl, 2);
    }
    CHECK(odd.requests.empty());
}

TEST_CASE("after a cancel the popup key has to be released before it counts again")
{
    Keyboard kb;
    kb.Hold(kLCtrl, 1);
    kb.Hold(kC, 1);
    CHECK(kb.state.PressState == 0);
    kb.Release(kC, 5);
    CHECK(kb.state.PressState == 0);  // Ctrl held on: no new first press
    kb.Release(kLCtrl, 1);
    kb.Hold(kLCtrl, 1);
    CHECK(kb.state.PressState == 1);
    kb.Release(kLCtrl, 1);
    kb.Hold(kLCtrl, 1);
    CHECK(kb.requests.size() == 1);
}

TEST_CASE("right Ctrl held while left Ctrl is double-pressed: no request")
{
    Keyboard kb;
    kb.down.insert(kRCtrl);
    kb.Hold(kLCtrl, 2);
    kb.Release(kLCtrl, 2);
    kb.Hold(kLCtrl, 2);
    CHECK(kb.requests.empty());
}

TEST_CASE("the scans: which keys count, and only the down bit")
{
    for (int vk : {19, 27, 32, 65, 91, 93, 96, 135, 160, 161, 164, 165}) {
        Keyboard kb;
        kb.Hold(kLCtrl, 1);
        kb.down.insert(vk);
        kb.Tick();
        CHECK_MESSAGE(kb.state.PressState == 0, "key ", vk, " must cancel");
    }
    for (int vk : {8, 9, 13, 16, 17, 18, 136, 144, 145, 159, 166, 186, 222}) {
        Keyboard kb;
        kb.Hold(kLCtrl, 1);
        kb.down.insert(vk);
        kb.Release(kLCtrl, 1);
        kb.Hold(kLCtrl, 1);
        CHECK_MESSAGE(kb.requests.size() == 1, "key ", vk, " must not cancel");
    }
    // A key seen only by its "pressed since" bit is not down.
    Keyboard kb;
    kb.pressedSinceOnly.insert(kC);
    kb.Hold(kLCtrl, 1);
    kb.Release(kLCtrl, 1);
    kb.Hold(kLCtrl, 1);
    CHECK(kb.requests.size() == 1);
}

TEST_CASE("the scan runs only while a press is in progress within the limit")
{
    Keyboard kb;
    kb.Tick();
    CHECK(kb.queried == std::vector<int>{kLCtrl});  // idle: one key polled
    kb.Hold(kLCtrl, 1);
    kb.Tick();
    CHECK(kb.queried.size() == 1 + (135 - 19 + 1 - 0) + (165 - 160 + 1 - 1));  // 162 skipped
    kb.Release(kLCtrl, 60);  // past the limit: no scan any more
    CHECK(kb.queried.size() == 1);
}

TEST_CASE("a letter as the popup key skips itself in the scan")
{
    Keyboard kb;
    kb.popupKey = 'K';
    kb.Hold('K', 1);
    kb.Release('K', 1);
    kb.Hold('K', 1);
    CHECK(kb.requests.size() == 1);
}

TEST_CASE("the tick count wrapping through 0xFFFFFFFF")
{
    Keyboard kb;
    kb.now = 0xFFFFFFFFu - 25;
    kb.Hold(kLCtrl, 2);
    kb.Release(kLCtrl, 2);  // now crosses zero
    kb.Hold(kLCtrl, 1);
    CHECK(kb.requests.size() == 1);

    // Across the wrap a pause longer than the limit is still seen as one.
    Keyboard late;
    late.now = 0xFFFFFFFFu - 25;
    late.Hold(kLCtrl, 1);
    late.Release(kLCtrl, 60);
    late.Hold(kLCtrl, 1);
    CHECK(late.requests.empty());
}
