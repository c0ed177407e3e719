// The item editor's text rules, apart from its windows. Texts are bytes in a
// multibyte ANSI code page; a lead byte and its trail byte are one character.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/PathText.h"

// True when nothing but blanks and control characters is left after trimming.
bool IsBlankText(std::string_view text);

// The path without one trailing backslash (a folder path loses its final
// backslash, C:\ becomes C:). The trail byte of 表 is no backslash.
std::string WithoutTrailingBackslash(std::string_view path, LeadBytePredicate isLead = IsCp932LeadByte);

// The name an item gets when the user leaves it blank: a file's name
// without its extension, a folder's name, a web address's host.
std::string NameFromTarget(std::string_view target, LeadBytePredicate isLead = IsCp932LeadByte);

// The first character of the text: one byte, or two for a double-byte one.
std::string FirstCharacter(std::string_view text, LeadBytePredicate isLead = IsCp932LeadByte);

// The shortcut edit consumes every character typed into it. A double-byte
// character comes as its lead byte, then its trail byte.
class ShortCutTyping {
public:
    explicit ShortCutTyping(LeadBytePredicate isLead = IsCp932LeadByte) : isLead_(isLead) {}
    // The edit's new text after one typed byte, or nothing when the text
    // stays as it is (a lead byte waiting for its trail byte, a control key).
    std::optional<std::string> Type(unsigned char byte);

private:
    LeadBytePredicate isLead_;
    int pendingLead_ = -1;
};
