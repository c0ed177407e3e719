#include "core/BusyFlags.h"

bool MenuShown = false;
bool QuitFlag = false;
int HideCountdown = 0;

bool HideCountdownTick()
{
    if (!MenuShown && !DialogShown && HideCountdown == kHideAfterTicks) {
        HideCountdown = kHideAfterTicks + 1;
        return true;
    }
    if (HideCountdown < kHideAfterTicks)
        ++HideCountdown;
    return false;
}

void ResetHideCountdownOnDeactivate()
{
    if (!DialogShown && !MenuShown)
        HideCountdown = 0;
}
