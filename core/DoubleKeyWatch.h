// The double-press recogniser, apart from the system's clock and key state so
// that it can be driven by scripted key timelines.
#pragma once
#include <cstdint>

struct DoubleKeyState {
    std::uint8_t PressState = 0;      // 0 idle, 1 first down, 2 released, 3 recognised
    std::uint32_t FirstPressTick = 0; // 0: none
    // Set when another key cancelled a press: the popup key must be seen up
    // before it can start a new sequence. Without it, Ctrl held through a
    // Ctrl+C would count as a fresh first press once C is released, and
    // Ctrl+C twice would open the menu.
    bool WaitForRelease = false;
};

// Answers like GetAsyncKeyState: bit 15 set while the key is down.
using AsyncKeyQuery = std::int16_t (*)(int virtualKey, void* context);

// One poll: true when a clean double press was recognised now. The state is
// then left at 3; the caller requests the menu and calls FinishDoublePress.
bool PollDoubleKey(DoubleKeyState& state, std::uint32_t now, std::uint32_t limit, int popupKey,
                   AsyncKeyQuery query, void* context);
void FinishDoublePress(DoubleKeyState& state);

// Other keys that cancel a press in progress: Pause .. F24 and the left and
// right Shift, Ctrl and Alt keys.
inline constexpr int kOtherKeysFirst = 19, kOtherKeysLast = 135;
inline constexpr int kSideKeysFirst = 160, kSideKeysLast = 165;
