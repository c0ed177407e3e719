#include "dialogs/ItemEditorText.h"

namespace {
constexpr unsigned char kEscape = 27;
constexpr unsigned char kBackspace = 8;
}  // namespace

bool IsBlankText(std::string_view text)
{
    // No trail byte of a double-byte character is a blank or control byte, so
    // a byte scan is safe.
    for (unsigned char c : text)
        if (c > ' ')
            return false;
    return true;
}

std::string WithoutTrailingBackslash(std::string_view path, LeadBytePredicate isLead)
{
    if (!path.empty() && LastDelimiter(path, "\\", isLead) == path.size() - 1)
        path.remove_suffix(1);
    return std::string(path);
}

std::string FirstCharacter(std::string_view text, LeadBytePredicate isLead)
{
    if (text.empty())
        return {};
    const std::size_t length = isLead(static_cast<unsigned char>(text[0])) && text.size() >= 2 ? 2 : 1;
    return std::string(text.substr(0, length));
}

std::optional<std::string> ShortCutTyping::Type(unsigned char byte)
{
    if (pendingLead_ >= 0) {
        const char pair[2] = {static_cast<char>(pendingLead_), static_cast<char>(byte)};
        pendingLead_ = -1;
        return std::string(pair, 2);
    }
    if (byte == kEscape || byte == kBackspace)
        return std::string();
    if (byte < ' ' || byte == 0x7F)
        return std::nullopt;  // a control key is no shortcut letter
    if (isLead_(byte)) {
        pendingLead_ = byte;
        return std::nullopt;
    }
    if (byte >= 'a' && byte <= 'z')
        byte = static_cast<unsigned char>(byte - 'a' + 'A');
    return std::string(1, static_cast<char>(byte));
}

std::string NameFromTarget(std::string_view target, LeadBytePredicate isLead)
{
    const std::size_t start = target.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::string();
    target.remove_prefix(start);
    if (ClassifyPath(target, isLead) == PathKind::Address) {
        // The host: after "scheme://" (or "scheme:"), before the path, port,
        // query or fragment, without a user's name.
        std::string_view rest = target.substr(target.find(':') + 1);
        if (rest.substr(0, 2) == "//")
            rest.remove_prefix(2);
        rest = rest.substr(0, rest.find_first_of("/?#"));
        if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos)
            rest.remove_prefix(at + 1);
        if (!rest.empty() && rest.front() != '[')  // an IPv6 address keeps its colons
            rest = rest.substr(0, rest.find(':'));
        return std::string(rest.empty() ? target : rest);
    }
    const std::string path = WithoutTrailingBackslash(target, isLead);
    const std::string name = DerivedName(path, isLead);
    return name.empty() ? path : name;
}
