// Taking over some messages of a standard control (an edit) while leaving the
// rest to it.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

// The handler sees each message first: an answer ends the message there,
// nullopt leaves it to the control. It lives as long as the control; an
// exception from it goes to the window base's error boundary.
using SubclassHandler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;
void SubclassControl(HWND control, SubclassHandler handler);

// What the control itself does with a message.
LRESULT ControlDefault(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The bytes of a WM_CHAR's character, in order: a double-byte character that
// arrives packed into one message is its lead byte, then its trail byte.
template <class F>
void ForEachCharByte(WPARAM character, F&& f)
{
    if (character > 0xFF)
        f(static_cast<unsigned char>(character >> 8));
    f(static_cast<unsigned char>(character & 0xFF));
}
