#include "core/KeyWatcher.h"

#include "core/DoubleKeyWatch.h"
#include "core/ProgramWindows.h"
#include "core/store/Settings.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/WindowHelpers.h"

DoubleTapWatch DoubleKey;

namespace {

constexpr USHORT kGenericDesktop = 0x01, kMouseUsage = 0x02, kKeyboardUsage = 0x06;
static_assert(kMouseCancels == (RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_DOWN |
                                RI_MOUSE_BUTTON_4_DOWN | RI_MOUSE_BUTTON_5_DOWN | RI_MOUSE_WHEEL | RI_MOUSE_HWHEEL));

bool keyboardRegistered = false;
bool mouseRegistered = false;

bool Register(USHORT usage, bool on)
{
    // Removal names no window; a sink names the one that hears it.
    const RAWINPUTDEVICE device{kGenericDesktop, usage, on ? static_cast<DWORD>(RIDEV_INPUTSINK) : RIDEV_REMOVE,
                                on ? MainWindow : nullptr};
    return RegisterRawInputDevices(&device, 1, sizeof device) != FALSE;
}

TapRules Rules() { return TapRules{Settings.PopupKey, GetDoubleClickTime()}; }

// The mouse is heard only while a tap is under way, so that moving it wakes
// nothing otherwise; the timer ends the tap when its time is up.
void FollowPendingTap()
{
    const bool pending = DoubleKey.Pending();
    if (pending != mouseRegistered && Register(kMouseUsage, pending))
        mouseRegistered = pending;
    if (const auto due = DoubleKey.Deadline(Rules())) {
        const auto left = static_cast<std::int32_t>(*due - GetTickCount());
        SetTimer(MainWindow, kTapTimer, static_cast<UINT>(left > 0 ? left : 0) + 1, nullptr);
    } else {
        KillTimer(MainWindow, kTapTimer);
    }
}

}  // namespace

void FollowDoubleKeySetting()
{
    DoubleKey.Reset();
    const bool on = Settings.DoubleKeyedPopup;
    if (on != keyboardRegistered && Register(kKeyboardUsage, on))
        keyboardRegistered = on;
    FollowPendingTap();
}

void WatchRawInput(HRAWINPUT input)
{
    RAWINPUT data{};
    UINT size = sizeof data;
    if (GetRawInputData(input, RID_INPUT, &data, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
    if (!Settings.DoubleKeyedPopup)
        return;
    // When the input came, not when it is handled: after the thread was held
    // up (a slow share), two taps keep the time between them.
    const auto now = static_cast<DWORD>(GetMessageTime());
    if (data.header.dwType == RIM_TYPEKEYBOARD) {
        const RAWKEYBOARD& k = data.data.keyboard;
        const int key = SidedKey(k.VKey, k.MakeCode, (k.Flags & RI_KEY_E0) != 0);
        const bool down = (k.Flags & RI_KEY_BREAK) == 0;
        if (DoubleKey.Key(key, down, now, Rules()))
            OnDoublePress();
    } else if (data.header.dwType == RIM_TYPEMOUSE) {
        DoubleKey.Mouse(data.data.mouse.usButtonFlags);
    }
    FollowPendingTap();
}

void ExpireDoubleTap()
{
    DoubleKey.Expire(GetTickCount(), Rules());
    FollowPendingTap();
}

void OnDoublePress()
{
    // A game in which Ctrl crouches, a film, a slide show: the keys are
    // theirs. The tray icon still opens the menu.
    if (!FullScreenInFront())
        RequestLaunchMenu();
}
