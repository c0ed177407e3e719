#include <doctest/doctest.h>

#include "core/BusyFlags.h"

namespace {
int TicksUntilHide(int limit = 100)
{
    for (int t = 1; t <= limit; ++t)
        if (HideCountdownTick())
            return t;
    return -1;
}
}  // namespace

TEST_CASE("the main window is hidden once, 31 ticks after a reset")
{
    MenuShown = DialogShown = false;
    HideCountdown = 0;
    CHECK(TicksUntilHide() == 31);  // 30 ticks to count up, the hide on the next
    CHECK(HideCountdown == 31);
    CHECK(TicksUntilHide() == -1);  // done: never again until a reset
}

TEST_CASE("a busy flag holds the countdown at 30; the hide follows the first free tick")
{
    HideCountdown = 0;
    DialogShown = true;
    CHECK(TicksUntilHide(200) == -1);
    CHECK(HideCountdown == 30);
    DialogShown = false;
    CHECK(HideCountdownTick());

    HideCountdown = 0;
    MenuShown = true;
    CHECK(TicksUntilHide(50) == -1);
    MenuShown = false;
    CHECK(HideCountdownTick());
}

TEST_CASE("deactivation resets the countdown only while nothing is open")
{
    HideCountdown = 31;
    MenuShown = true;
    ResetHideCountdownOnDeactivate();
    CHECK(HideCountdown == 31);
    MenuShown = false;
    DialogShown = true;
    ResetHideCountdownOnDeactivate();
    CHECK(HideCountdown == 31);
    DialogShown = false;
    ResetHideCountdownOnDeactivate();
    CHECK(HideCountdown == 0);
    // Repeated deactivations: the hide comes 31 ticks after the last one.
    for (int i = 0; i < 10; ++i)
        HideCountdownTick();
    ResetHideCountdownOnDeactivate();
    CHECK(TicksUntilHide() == 31);
}
