#include "platform/HighContrast.h"

#include "platform/Seams.h"

namespace {
int Known = -1;  // not asked yet
}  // namespace

bool HighContrastOn()
{
    if (Known < 0)
        RefreshHighContrast();
    return Known == 1;
}

bool RefreshHighContrast()
{
    const int before = Known;
    Known = HighContrastQuery() ? 1 : 0;
    return before >= 0 && before != Known;
}

COLORREF ContrastColour(COLORREF normal, int index) { return HighContrastOn() ? GetSysColor(index) : normal; }
