// Whether the taskbar is drawn light or dark: the flyouts beside it follow
// the taskbar ("SystemUsesLightTheme"), not the apps' setting.
#pragma once

// As last asked (the first call asks); absent means light, as before
// Windows had the choice.
bool TaskbarLight();
// Asks again: when Settings says "ImmersiveColorSet" changed. True when the
// answer changed.
bool RefreshTaskbarTheme();
