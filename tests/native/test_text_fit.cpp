#include <doctest/doctest.h>

#include "controls/TextFit.h"

TEST_CASE("text fit: a control grows only by what its text lacks, within its limits")
{
    struct Row {
        Span span;
        int need;
        bool right;
        int floor, ceiling;
        Span grown;
    };
    const Row rows[] = {
        {{32, 153}, 100, true, 0, 0, {32, 153}},     // fits: untouched
        {{88, 121}, 36, true, 58, 0, {85, 121}},     // right-aligned: leftwards
        {{88, 121}, 80, true, 58, 0, {58, 121}},     // ...but not under the strip
        {{32, 153}, 138, true, 32, 0, {32, 153}},    // no room at all on its left
        {{56, 377}, 338, false, 0, 397, {56, 394}},  // left-aligned: rightwards
        {{56, 377}, 360, false, 0, 397, {56, 397}},  // ...up to the form's margin
        {{56, 377}, 338, false, 0, 300, {56, 377}},  // a ceiling inside it never shrinks it
    };
    for (const Row& r : rows) {
        CAPTURE(r.need);
        CHECK(GrownToNeed(r.span, r.need, r.right, r.floor, r.ceiling) == r.grown);
    }
    CHECK(Shortfall(GrownToNeed({32, 153}, 138, true, 32, 0), 138) == 17);
    CHECK(Shortfall({56, 397}, 360) == 19);
    CHECK(Shortfall({56, 397}, 100) == 0);
}

TEST_CASE("text fit: an opened column moves what lies right of it and widens what crosses it")
{
    CHECK(Widened({160, 505}, 156, 17) == Span{177, 522});  // a field right of the labels
    CHECK(Widened({32, 153}, 156, 17) == Span{32, 153});    // a label left of it
    CHECK(Widened({32, 550}, 156, 17) == Span{32, 567});    // the bevel under both
    CHECK(Widened({156, 200}, 156, 5) == Span{161, 205});   // starting at it: moves
    CHECK(Widened({100, 156}, 156, 5) == Span{100, 156});   // ending at it: stays
}

TEST_CASE("text fit: pixels at any DPI back to 96-DPI units never lose a pixel")
{
    CHECK(UnscaledUp(138, 96) == 138);
    CHECK(UnscaledUp(207, 144) == 138);
    CHECK(UnscaledUp(208, 144) == 139);  // 138.67 rounds up
    CHECK(UnscaledUp(277, 192) == 139);
    CHECK(UnscaledUp(5, 0) == 5);
}
