#include "core/BusyFlags.h"

#include "platform/DialogFlag.h"

bool MenuShown = false;
bool DialogShown = false;
bool QuitFlag = false;
int HideCountdown = 0;

namespace {
// The forms and message boxes below the core keep DialogShown through this.
[[maybe_unused]] const bool g_dialogFlagInstalled = (InstallDialogFlag(&DialogShown), true);
}

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
