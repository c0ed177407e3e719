#include "core/DoubleKeyWatch.h"

namespace {
bool HighByteNonZero(std::int16_t s) { return (static_cast<std::uint16_t>(s) & 0xFF00u) != 0; }
bool HighByteIs80(std::int16_t s) { return ((static_cast<std::uint16_t>(s) >> 8) & 0xFFu) == 0x80u; }

// Whether any key of the range other than the popup key is down.
bool OtherKeyDown(int first, int last, int popupKey, AsyncKeyQuery query, void* context)
{
    for (int k = first; k <= last; ++k)
        if (k != popupKey && HighByteIs80(query(k, context)))
            return true;
    return false;
}
}  // namespace

bool PollDoubleKey(DoubleKeyState& s, std::uint32_t now, std::uint32_t limit, int popupKey, AsyncKeyQuery query,
                   void* context)
{
    bool down = HighByteNonZero(query(popupKey, context));
    if (!down)
        s.WaitForRelease = false;

    // Unsigned arithmetic: the tick count's wrap-around is harmless.
    if (s.FirstPressTick != 0 && now - s.FirstPressTick < limit) {
        if (s.PressState != 0 && (OtherKeyDown(kOtherKeysFirst, kOtherKeysLast, popupKey, query, context) ||
                                  OtherKeyDown(kSideKeysFirst, kSideKeysLast, popupKey, query, context))) {
            down = false;
            s.PressState = 0;
            s.WaitForRelease = true;
        }
    }

    if (down) {
        if (s.PressState == 0 && !s.WaitForRelease) {
            s.PressState = 1;
            s.FirstPressTick = now;
        } else if (s.PressState == 2) {
            if (now - s.FirstPressTick < limit) {
                s.FirstPressTick = 0;
                s.PressState = 3;
            } else {
                s.PressState = 0;
            }
        }
    } else if (s.PressState == 1) {
        s.PressState = 2;
    }
    return s.PressState == 3;
}

void FinishDoublePress(DoubleKeyState& s)
{
    s.FirstPressTick = 0;
    s.PressState = 0;
}
