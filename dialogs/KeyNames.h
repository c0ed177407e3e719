// The popup key as the options dialog captures and names it: the key-down
// rules, the names of the keys it knows, and the character capture that
// keeps keys without a name which type a character.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Answers like GetAsyncKeyState for one virtual-key code.
using KeySideQuery = std::int16_t (*)(int virtualKey, void* context);

struct CapturedKey {
    std::int32_t PopupKey = 0;  // 0: no key
    std::string Shown;          // the text of the key field
};

inline constexpr const char* kNoKeyName = "None";

// The name of a key code from the table of named keys, or "None" for a code
// the table does not list. Shift, Ctrl and Alt are named by KeyDownCapture.
std::string KeyName(int code);

// A key going down (or the stored key shown again): the generic Shift, Ctrl
// and Alt codes become their left key when the left key's state answers a
// low-order byte of 1, else their right key; any other unnamed code gives 0.
CapturedKey KeyDownCapture(int code, KeySideQuery query, void* context);

// The character that the same key typed, after its key-down: taken only when
// the key-down found no name (`popupKey` 0) and the character is above 13 and
// not Escape. Letters a-z are shown in upper case; the code is kept as typed.
std::optional<CapturedKey> CharCapture(std::int32_t popupKey, unsigned char typed);
