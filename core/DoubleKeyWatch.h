// The double-press recogniser, fed the keyboard's and the mouse's events
// rather than samples, and kept apart from the system so that its rules are
// driven key by key from scripted timelines.
#pragma once
#include <cstdint>
#include <optional>

// The rules of one press: the key the user chose and the double-click time.
struct TapRules {
    int popupKey = 162;          // VK_LCONTROL
    std::uint32_t limit = 500;  // ms
};

// The key code of one side. Raw input names the generic Shift, Ctrl and Alt
// keys and tells the side by the scan code and the E0 prefix. 0 for events to
// ignore: the fake Shift that comes with the navigation keys, and overruns.
int SidedKey(int virtualKey, unsigned makeCode, bool e0);

// Whether a key of one side is the popup key: a generic Shift, Ctrl or Alt
// chosen in the options matches either side.
bool IsPopupKey(int sidedKey, int popupKey);

// An auto-repeat comes within the keyboard's longest delay (1 s); a press
// seen "again" later is a new press whose release went astray (the secure
// desktop swallows the releases of Ctrl+Alt+Del).
inline constexpr std::uint32_t kRepeatGapMs = 1100;

// Raw input's mouse button flags that take a tap back: the five buttons'
// downs, the wheel and the horizontal wheel.
inline constexpr unsigned kMouseLeftDown = 0x0001, kMouseRightDown = 0x0004, kMouseMiddleDown = 0x0010,
                          kMouseButton4Down = 0x0040, kMouseButton5Down = 0x0100, kMouseWheel = 0x0400,
                          kMouseHWheel = 0x0800;
inline constexpr unsigned kMouseCancels = kMouseLeftDown | kMouseRightDown | kMouseMiddleDown | kMouseButton4Down |
                                          kMouseButton5Down | kMouseWheel | kMouseHWheel;

class DoubleTapWatch {
public:
    // A key went down or up; true at the release that completes a double tap.
    bool Key(int sidedKey, bool down, std::uint32_t now, const TapRules& rules);
    // The mouse did something (raw input's button flags): a button pressed
    // (Ctrl+click) or the wheel turned (Ctrl+wheel zooms, a touchpad's pinch
    // comes as it) makes the press no tap; a move or a release does not.
    void Mouse(unsigned buttonFlags);
    // The time has passed in which the press under way could still count.
    void Expire(std::uint32_t now, const TapRules& rules);
    // A tap is under way: the mouse is watched and a deadline is set.
    bool Pending() const { return phase_ != Phase::Idle; }
    // When the press under way stops counting, if one is.
    std::optional<std::uint32_t> Deadline(const TapRules& rules) const;
    void Reset();

private:
    enum class Phase : std::uint8_t { Idle, FirstDown, FirstUp, SecondDown };
    Phase phase_ = Phase::Idle;
    std::uint32_t firstPress_ = 0;  // the first tap's press: the limit runs from it
    std::uint32_t pressAt_ = 0;     // the press now held: no tap once held past the limit
    bool held_ = false;             // the popup key is down (a second down is a repeat)
    std::uint32_t heldSeen_ = 0;    // its last down or repeat
};
