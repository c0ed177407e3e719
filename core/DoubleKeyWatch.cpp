#include "core/DoubleKeyWatch.h"

namespace {
constexpr int kShift = 16, kControl = 17, kAlt = 18;
constexpr int kLeftShift = 160, kRightShift = 161, kLeftControl = 162, kRightControl = 163, kLeftAlt = 164,
              kRightAlt = 165;
constexpr unsigned kRightShiftScan = 0x36;
constexpr int kOverrun = 0xFF;
}  // namespace

int SidedKey(int virtualKey, unsigned makeCode, bool e0)
{
    switch (virtualKey) {
    case kShift:
        if (e0)
            return 0;  // the keyboard's fake Shift around a navigation key
        return makeCode == kRightShiftScan ? kRightShift : kLeftShift;
    case kControl:
        return e0 ? kRightControl : kLeftControl;
    case kAlt:
        return e0 ? kRightAlt : kLeftAlt;
    case kOverrun:
        return 0;
    default:
        return virtualKey;
    }
}

bool IsPopupKey(int sidedKey, int popupKey)
{
    if (sidedKey == 0)
        return false;
    if (sidedKey == popupKey)
        return true;
    switch (popupKey) {
    case kShift: return sidedKey == kLeftShift || sidedKey == kRightShift;
    case kControl: return sidedKey == kLeftControl || sidedKey == kRightControl;
    case kAlt: return sidedKey == kLeftAlt || sidedKey == kRightAlt;
    default: return false;
    }
}

bool DoubleTapWatch::Key(int sidedKey, bool down, std::uint32_t now, const TapRules& rules)
{
    if (sidedKey == 0)
        return false;
    if (!IsPopupKey(sidedKey, rules.popupKey)) {
        // Another key pressed during the taps makes them a chord (Ctrl+Tab,
        // Ctrl+C); its release, or that of a key held from before, does not.
        if (down)
            phase_ = Phase::Idle;
        return false;
    }
    // Unsigned arithmetic throughout: the tick count's wrap-around is harmless.
    if (down) {
        const bool repeat = held_ && now - heldSeen_ < kRepeatGapMs;
        held_ = true;
        heldSeen_ = now;
        if (repeat)
            return false;
        pressAt_ = now;
        if (phase_ == Phase::FirstUp && now - firstPress_ < rules.limit) {
            phase_ = Phase::SecondDown;
        } else {
            phase_ = Phase::FirstDown;
            firstPress_ = now;
        }
        return false;
    }
    if (!held_)
        return false;  // a release of a press made before the watch began
    held_ = false;
    if (now - pressAt_ >= rules.limit) {
        phase_ = Phase::Idle;  // held too long to be a tap
        return false;
    }
    if (phase_ == Phase::FirstDown) {
        phase_ = Phase::FirstUp;
    } else if (phase_ == Phase::SecondDown) {
        phase_ = Phase::Idle;
        return true;
    }
    return false;
}

void DoubleTapWatch::Mouse(unsigned buttonFlags)
{
    if (buttonFlags & kMouseCancels)
        phase_ = Phase::Idle;
}

void DoubleTapWatch::Expire(std::uint32_t now, const TapRules& rules)
{
    if (const auto due = Deadline(rules); due && static_cast<std::int32_t>(now - *due) >= 0)
        phase_ = Phase::Idle;
}

std::optional<std::uint32_t> DoubleTapWatch::Deadline(const TapRules& rules) const
{
    switch (phase_) {
    case Phase::FirstUp: return firstPress_ + rules.limit;
    case Phase::FirstDown:
    case Phase::SecondDown: return pressAt_ + rules.limit;
    default: return std::nullopt;
    }
}

void DoubleTapWatch::Reset()
{
    phase_ = Phase::Idle;
    held_ = false;
}
