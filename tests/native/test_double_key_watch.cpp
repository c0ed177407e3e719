#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "core/DoubleKeyWatch.h"

namespace {
constexpr int kLCtrl = 162, kRCtrl = 163, kTab = 9, kC = 'C';

// A timeline of key events. "+K" presses K, "-K" releases it, "click" is a
// mouse button, "wait N" lets N ms pass; other steps take 1 ms.
struct Timeline {
    DoubleTapWatch watch;
    TapRules rules{kLCtrl, 500};
    std::uint32_t now = 1000;
    std::vector<std::uint32_t> opened;

    void Key(int key, bool down)
    {
        watch.Expire(now, rules);  // the deadline timer, had it come due
        if (watch.Key(key, down, now, rules))
            opened.push_back(now);
        now += 1;
    }
    void Tap(int key, std::uint32_t hold = 1, std::uint32_t after = 1)
    {
        Key(key, true);
        now += hold;
        Key(key, false);
        now += after;
    }
    void Wait(std::uint32_t ms) { now += ms; }
};
}  // namespace

TEST_CASE("two quick taps open at the second release, once")
{
    Timeline t;
    t.Tap(kLCtrl, 0, 150);  // a press and release within a millisecond, as xdotool makes them
    t.Key(kLCtrl, true);
    CHECK(t.opened.empty());  // not on the way down: a chord's other key may follow
    t.Key(kLCtrl, false);
    CHECK(t.opened.size() == 1);
    CHECK_FALSE(t.watch.Pending());
    t.Tap(kLCtrl);  // a third tap starts a new pair
    CHECK(t.opened.size() == 1);
    CHECK(t.watch.Pending());
}

TEST_CASE("chords cancel: Ctrl+Tab twice, Ctrl+C twice, a tap then Ctrl+C, Ctrl+click, Ctrl+wheel, right Ctrl")
{
    using Script = void (*)(Timeline&);
    const Script chords[] = {
        [](Timeline& t) {
            for (int i = 0; i < 2; ++i) {
                t.Key(kLCtrl, true);
                t.Tap(kTab);
                t.Key(kLCtrl, false);
            }
        },
        [](Timeline& t) {  // C released after Ctrl
            for (int i = 0; i < 2; ++i) {
                t.Key(kLCtrl, true);
                t.Key(kC, true);
                t.Key(kLCtrl, false);
                t.Key(kC, false);
            }
        },
        [](Timeline& t) {  // the second press is taken back by the C
            t.Tap(kLCtrl);
            t.Key(kLCtrl, true);
            t.Tap(kC);
            t.Key(kLCtrl, false);
        },
        [](Timeline& t) {
            t.Tap(kLCtrl);
            t.watch.Mouse(kMouseLeftDown);
            t.Tap(kLCtrl);
        },
        [](Timeline& t) {  // two zoom steps: Ctrl+wheel, let go, Ctrl+wheel
            for (int i = 0; i < 2; ++i) {
                t.Key(kLCtrl, true);
                t.watch.Mouse(kMouseWheel);
                t.Key(kLCtrl, false);
            }
        },
        [](Timeline& t) {  // sideways scrolling too
            for (int i = 0; i < 2; ++i) {
                t.Key(kLCtrl, true);
                t.watch.Mouse(kMouseHWheel);
                t.Key(kLCtrl, false);
            }
        },
        [](Timeline& t) {  // right Ctrl is another key, and no popup key of its own
            t.Tap(kLCtrl);
            t.Tap(kRCtrl);
            t.Tap(kLCtrl);
            t.Tap(kRCtrl);
            t.Tap(kRCtrl);
        },
    };
    // Moving the mouse or letting a button go is no chord.
    const Script moves = [](Timeline& t) {
        t.Tap(kLCtrl);
        t.watch.Mouse(0);
        t.watch.Mouse(0x0002);  // left button up
        t.Tap(kLCtrl);
    };
    Timeline moved;
    moves(moved);
    CHECK(moved.opened.size() == 1);
    for (const Script chord : chords) {
        Timeline t;
        chord(t);
        CHECK(t.opened.empty());
        t.Tap(kLCtrl);  // the taps after it are a fresh pair
        t.Tap(kLCtrl);
        CHECK(t.opened.size() == 1);
    }
}

TEST_CASE("releases of other keys, auto-repeat, and a release that never came")
{
    Timeline t;
    t.Key(kC, true);
    t.Tap(kLCtrl);
    t.Key(kC, false);  // held from before, let go in between
    t.Key(kLCtrl, true);
    for (int i = 0; i < 5; ++i) {
        t.Wait(30);
        t.Key(kLCtrl, true);  // repeats of the held key
    }
    t.Key(kLCtrl, false);
    CHECK(t.opened.size() == 1);
    // Ctrl+Alt+Del: the secure desktop swallows the releases; the next press
    // is still a press.
    t.Key(kLCtrl, true);
    t.Wait(5000);
    t.Tap(kLCtrl);
    t.Tap(kLCtrl);
    CHECK(t.opened.size() == 2);
}

TEST_CASE("the time limit: between the presses, and on each hold")
{
    SUBCASE("presses just inside and just outside the limit")
    {
        Timeline in;
        in.Tap(kLCtrl, 1, 496);  // presses 499 ms apart
        in.Tap(kLCtrl);
        CHECK(in.opened.size() == 1);
        Timeline out;
        out.Tap(kLCtrl, 1, 497);  // 500 ms apart: too late, but the first of a new pair
        out.Tap(kLCtrl);
        CHECK(out.opened.empty());
        out.Tap(kLCtrl);
        CHECK(out.opened.size() == 1);
    }
    SUBCASE("a held press is no tap, first or second")
    {
        Timeline first;
        first.Tap(kLCtrl, 600);
        first.Tap(kLCtrl);
        CHECK(first.opened.empty());
        Timeline second;
        second.Tap(kLCtrl);
        second.Tap(kLCtrl, 500);
        CHECK(second.opened.empty());
    }
    SUBCASE("the second release may come after the limit from the first press")
    {
        Timeline t;
        t.Tap(kLCtrl, 1, 400);
        t.Tap(kLCtrl, 300);  // pressed at 402 ms, held 300 ms
        CHECK(t.opened.size() == 1);
    }
    SUBCASE("the deadline ends a pending pair; nothing is pending then")
    {
        Timeline t;
        t.Tap(kLCtrl);
        REQUIRE(t.watch.Deadline(t.rules));
        CHECK(*t.watch.Deadline(t.rules) == 1500);
        t.watch.Expire(1499, t.rules);
        CHECK(t.watch.Pending());
        t.watch.Expire(1500, t.rules);
        CHECK_FALSE(t.watch.Pending());
        CHECK_FALSE(t.watch.Deadline(t.rules));
    }
    SUBCASE("across the wrap of the tick count")
    {
        Timeline t;
        t.now = 0xFFFFFFFFu - 2;
        t.Tap(kLCtrl, 1, 100);
        t.Tap(kLCtrl);
        CHECK(t.opened.size() == 1);
    }
}

TEST_CASE("sides from raw input, and the keys that match a chosen key")
{
    CHECK(SidedKey(17, 0x1D, false) == 162);
    CHECK(SidedKey(17, 0x1D, true) == 163);
    CHECK(SidedKey(16, 0x2A, false) == 160);
    CHECK(SidedKey(16, 0x36, false) == 161);
    CHECK(SidedKey(16, 0x2A, true) == 0);  // the fake Shift of a navigation key
    CHECK(SidedKey(18, 0x38, true) == 165);
    CHECK(SidedKey(0xFF, 0, false) == 0);
    CHECK(SidedKey('K', 0x25, false) == 'K');
    CHECK(IsPopupKey(163, 17));  // the generic Ctrl takes either side
    CHECK(IsPopupKey(162, 17));
    CHECK_FALSE(IsPopupKey(163, 162));
    CHECK_FALSE(IsPopupKey(0, 0));

    Timeline letter;
    letter.rules.popupKey = 'K';
    letter.Tap('K');
    letter.Tap('K');
    CHECK(letter.opened.size() == 1);
}
