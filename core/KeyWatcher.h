#pragma once
#include "core/DoubleKeyWatch.h"

// The state of the double press, kept between timer ticks.
extern DoubleKeyState DoubleKey;

// Polls the popup key once per timer tick and asks for the menu on a clean
// double press.
void WatchDoubleKey();
