#pragma once

// Polls the popup key once per timer tick and asks for the menu on a clean
// double press.
void WatchDoubleKey();
