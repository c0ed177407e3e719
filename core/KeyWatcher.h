// The double press, watched through the keyboard's raw input delivered in
// the background: no hook, no hot key, and nothing runs while nobody types.
#pragma once
#include <windows.h>

#include "core/DoubleKeyWatch.h"

// The state of the taps under way, kept between events.
extern DoubleTapWatch DoubleKey;

// The main window's timer that ends a tap under way when its time is up.
inline constexpr UINT_PTR kTapTimer = 2;

// The keyboard is registered while the double press is watched and not
// otherwise; the watch starts afresh. Called at start-up and after the
// options.
void FollowDoubleKeySetting();
// WM_INPUT on the main window.
void WatchRawInput(HRAWINPUT input);
// The tap timer.
void ExpireDoubleTap();
// A clean double press: the menu, unless a full-screen program is in front.
void OnDoublePress();
