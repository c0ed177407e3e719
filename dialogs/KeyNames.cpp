#include "dialogs/KeyNames.h"

namespace {

struct NamedKey {
    int code;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {20, "CapsLock"},  {240, "CapsLock"},  {19, "Pause"},         {45, "Insert"},      {41, "Select"},
    {42, "Print"},     {43, "Execute"},    {44, "Print Screen"},  {46, "Delete"},      {93, "Applications"},
    {144, "Num Lock"}, {145, "Scroll Lock"}, {106, "Multiply"},   {107, "Add"},        {108, "Separator"},
    {109, "Subtract"}, {110, "Decimal"},   {111, "Divide"},       {246, "Attn"},       {247, "CrSel"},
    {248, "ExSel"},    {249, "Erase EOF"}, {250, "Play"},         {251, "Zoom"},
};

constexpr int kF1 = 112, kF24 = 135;
constexpr int kNumPad0 = 96, kNumPad9 = 105;

struct SideKeys {
    int generic, left, right;
    const char* leftName;
    const char* rightName;
};

constexpr SideKeys kSideKeys[] = {
    {16, 160, 161, "LeftShift", "RightShift"},
    {17, 162, 163, "LeftCtrl", "RightCtrl"},
    {18, 164, 165, "LeftAlt", "RightAlt"},
};

}  // namespace

std::string KeyName(int code)
{
    if (code >= kF1 && code <= kF24)
        return "F" + std::to_string(code - kF1 + 1);
    if (code >= kNumPad0 && code <= kNumPad9)
        return "Num " + std::to_string(code - kNumPad0);
    for (const NamedKey& key : kNamedKeys)
        if (key.code == code)
            return key.name;
    return kNoKeyName;
}

CapturedKey KeyDownCapture(int code, KeySideQuery query, void* context)
{
    for (const SideKeys& side : kSideKeys) {
        if (code != side.generic && code != side.left && code != side.right)
            continue;
        int key = code;
        if (code == side.generic)
            key = (query(side.left, context) & 0xFF) == 1 ? side.left : side.right;
        return {key, key == side.left ? side.leftName : side.rightName};
    }
    std::string name = KeyName(code);
    if (name == kNoKeyName)
        return {0, std::move(name)};
    return {code, std::move(name)};
}

std::optional<CapturedKey> CharCapture(std::int32_t popupKey, unsigned char typed)
{
    constexpr unsigned char kEnter = 13, kEscape = 27;
    if (popupKey != 0 || typed <= kEnter || typed == kEscape)
        return std::nullopt;
    const char shown = typed >= 'a' && typed <= 'z' ? static_cast<char>(typed - 'a' + 'A') : static_cast<char>(typed);
    return CapturedKey{typed, std::string(1, shown)};
}
