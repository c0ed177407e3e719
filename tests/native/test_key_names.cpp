#include <doctest/doctest.h>

#include <map>
#include <string>

#include "dialogs/KeyNames.h"

namespace {

// A key state that answers one value for one key and 0 for every other.
struct KeyState {
    int key = 0;
    std::int16_t value = 0;
    int asked = 0;
    int askedKey = -1;
};

std::int16_t Answer(int virtualKey, void* context)
{
    auto* s = static_cast<KeyState*>(context);
    ++s->asked;
    s->askedKey = virtualKey;
    return virtualKey == s->key ? s->value : std::int16_t{0};
}

CapturedKey Down(int code, KeyState& state) { return KeyDownCapture(code, Answer, &state); }

// The named keys, one entry per code.
std::map<int, std::string> NamedKeys()
{
    std::map<int, std::string> names{
        {20, "CapsLock"},   {240, "CapsLock"}, {19, "Pause"},        {45, "Insert"},      {41, "Select"},
        {42, "Print"},      {43, "Execute"},   {44, "Print Screen"}, {46, "Delete"},      {93, "Applications"},
        {144, "Num Lock"},  {145, "Scroll Lock"}, {106, "Multiply"}, {107, "Add"},        {108, "Separator"},
        {109, "Subtract"},  {110, "Decimal"},  {111, "Divide"},      {246, "Attn"},       {247, "CrSel"},
        {248, "ExSel"},     {249, "Erase EOF"}, {250, "Play"},       {251, "Zoom"},
    };
    const char* functionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                  "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                  "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    for (int i = 0; i < 24; ++i)
        names[112 + i] = functionKeys[i];
    const char* numPad[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                            "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
    for (int i = 0; i < 10; ++i)
        names[96 + i] = numPad[i];
    return names;
}

bool IsSideKey(int code) { return code == 16 || code == 17 || code == 18 || (code >= 160 && code <= 165); }

}  // namespace

TEST_CASE("every named key keeps its code and shows its name; every other code shows None and gives 0")
{
    const auto names = NamedKeys();
    CHECK(names.size() == 58);
    for (int code = 0; code <= 0xFFFF; ++code) {
        if (IsSideKey(code))
            continue;
        CAPTURE(code);
        KeyState state;
        const CapturedKey key = Down(code, state);
        const auto named = names.find(code);
        if (named != names.end()) {
            CHECK(key.PopupKey == code);
            CHECK(key.Shown == named->second);
            CHECK(KeyName(code) == named->second);
        } else {
            CHECK(key.PopupKey == 0);
            CHECK(key.Shown == "None");
        }
        CHECK(state.asked == 0);  // only the generic side keys ask for the key state
    }
}

TEST_CASE("the examples: F12 is 123, keypad 7 is 103, Enter and the letters have no name")
{
    KeyState state;
    CHECK(Down(123, state).Shown == "F12");
    CHECK(Down(123, state).PopupKey == 123);
    CHECK(Down(103, state).Shown == "Num 7");
    CHECK(Down(103, state).PopupKey == 103);
    for (int code : {13, 27, 8, 32, 37, 38, 39, 40, 33, 34, 35, 36, int{'A'}, int{'X'}, int{'1'}, 186, 9}) {
        CAPTURE(code);
        CHECK(Down(code, state).PopupKey == 0);
        CHECK(Down(code, state).Shown == "None");
    }
}

TEST_CASE("left and right Shift, Ctrl and Alt keep their code and show their side")
{
    const struct {
        int code;
        const char* shown;
    } sides[] = {{160, "LeftShift"}, {161, "RightShift"}, {162, "LeftCtrl"},
                 {163, "RightCtrl"}, {164, "LeftAlt"},    {165, "RightAlt"}};
    for (const auto& side : sides) {
        CAPTURE(side.code);
        KeyState state{side.code, 1};
        const CapturedKey key = Down(side.code, state);
        CHECK(key.PopupKey == side.code);
        CHECK(key.Shown == side.shown);
        CHECK(state.asked == 0);
    }
}

TEST_CASE("generic Shift, Ctrl and Alt become left when the left key's low-order byte is 1, else right")
{
    const struct {
        int generic, left, right;
        const char* leftName;
        const char* rightName;
    } keys[] = {{16, 160, 161, "LeftShift", "RightShift"},
                {17, 162, 163, "LeftCtrl", "RightCtrl"},
                {18, 164, 165, "LeftAlt", "RightAlt"}};
    for (const auto& k : keys) {
        CAPTURE(k.generic);
        // Low byte 1: pressed since the last look, whether down now or not.
        for (std::int16_t value : {std::int16_t{1}, static_cast<std::int16_t>(0x8001), std::int16_t{0x0101}}) {
            KeyState state{k.left, value};
            const CapturedKey key = Down(k.generic, state);
            CHECK(state.askedKey == k.left);
            CHECK(key.PopupKey == k.left);
            CHECK(key.Shown == k.leftName);
        }
        // Any other low byte, the key held down with the low bit clear included.
        for (std::int16_t value : {std::int16_t{0}, static_cast<std::int16_t>(0x8000), std::int16_t{3},
                                   std::int16_t{0x0180}, std::int16_t{-1}}) {
            CAPTURE(value);
            KeyState state{k.left, value};
            const CapturedKey key = Down(k.generic, state);
            CHECK(state.asked == 1);
            CHECK(key.PopupKey == k.right);
            CHECK(key.Shown == k.rightName);
        }
        // The right key's own state is not what decides.
        KeyState right{k.right, 1};
        CHECK(Down(k.generic, right).PopupKey == k.right);
    }
}

TEST_CASE("a character is taken only after a key without a name")
{
    // The X key: no name at key-down, then its lower-case character.
    KeyState state;
    const CapturedKey down = Down('X', state);
    REQUIRE(down.PopupKey == 0);
    const auto typed = CharCapture(down.PopupKey, 'x');
    REQUIRE(typed);
    CHECK(typed->PopupKey == 120);
    CHECK(typed->Shown == "X");
    // Shown again the next time: 120 is F9.
    CHECK(Down(typed->PopupKey, state).Shown == "F9");
    CHECK(Down(typed->PopupKey, state).PopupKey == 120);

    // The 1 key stores 49, which the table does not name.
    const auto one = CharCapture(0, '1');
    REQUIRE(one);
    CHECK(one->PopupKey == 49);
    CHECK(one->Shown == "1");
    CHECK(Down(49, state).Shown == "None");
    CHECK(Down(49, state).PopupKey == 0);

    // Shift+A types 65; a alone 97, named Num 1 later.
    CHECK(CharCapture(0, 'A')->PopupKey == 65);
    CHECK(CharCapture(0, 'A')->Shown == "A");
    CHECK(CharCapture(0, 'a')->PopupKey == 97);
    CHECK(Down(97, state).Shown == "Num 1");

    // Only a-z change case.
    CHECK(CharCapture(0, '{')->Shown == "{");
    CHECK(CharCapture(0, 0xB1)->Shown == std::string(1, static_cast<char>(0xB1)));
    CHECK(CharCapture(0, 0xB1)->PopupKey == 0xB1);
    CHECK(CharCapture(0, ' ')->PopupKey == 32);
    CHECK(CharCapture(0, 14)->PopupKey == 14);
}

TEST_CASE("Enter, Escape, Tab, Backspace and characters after a named key are not taken")
{
    for (unsigned c = 0; c <= 13; ++c) {
        CAPTURE(c);
        CHECK_FALSE(CharCapture(0, static_cast<unsigned char>(c)));
    }
    CHECK_FALSE(CharCapture(0, 27));
    // F12 or a side key came first: its character, if any, changes nothing.
    CHECK_FALSE(CharCapture(123, 'x'));
    CHECK_FALSE(CharCapture(162, 'a'));
    // Enter stores 0: no name at key-down, no character taken.
    KeyState state;
    const CapturedKey enter = Down(13, state);
    CHECK(enter.PopupKey == 0);
    CHECK_FALSE(CharCapture(enter.PopupKey, 13));
}
