#include "platform/PathText.h"

bool IsCp932LeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t LastDelimiter(std::string_view s, std::string_view delimiters, LeadBytePredicate isLead)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (isLead(b) && i + 1 < s.size()) {
            ++i;  // skip the trail byte whatever it is
            continue;
        }
        if (delimiters.find(s[i]) != std::string_view::npos)
            found = i;
    }
    return found;
}

std::string FileNamePart(std::string_view path, LeadBytePredicate isLead)
{
    const std::size_t d = LastDelimiter(path, "\\:", isLead);
    return std::string(d == std::string_view::npos ? path : path.substr(d + 1));
}

std::string DirectoryPart(std::string_view path, LeadBytePredicate isLead)
{
    const std::size_t d = LastDelimiter(path, "\\:", isLead);
    return d == std::string_view::npos ? std::string() : std::string(path.substr(0, d + 1));
}

std::string DerivedName(std::string_view target, LeadBytePredicate isLead)
{
    const std::size_t d = LastDelimiter(target, "\\:.", isLead);
    const std::string name = FileNamePart(target, isLead);
    if (d == std::string_view::npos || target[d] != '.')
        return name;  // no dot after the last backslash or colon
    const std::size_t nameStart = target.size() - name.size();
    return std::string(target.substr(nameStart, d - nameStart));
}

PathKind ClassifyPath(std::string_view path, LeadBytePredicate isLead)
{
    const std::size_t start = path.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return PathKind::Empty;
    path.remove_prefix(start);
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path[0] == '\\' || path[0] == '/')
        return PathKind::Full;
    if (path.size() >= 2 && letter(path[0]) && path[1] == ':')
        return PathKind::Full;
    // A scheme is a letter, then letters, digits, "+", "-" or ".", then ":";
    // one letter before the colon was a drive.
    std::size_t i = 1;
    while (i < path.size() && (letter(path[i]) || (path[i] >= '0' && path[i] <= '9') || path[i] == '+' ||
                               path[i] == '-' || path[i] == '.'))
        ++i;
    if (letter(path[0]) && i < path.size() && path[i] == ':')
        return PathKind::Address;
    return LastDelimiter(path, "\\/", isLead) == std::string_view::npos ? PathKind::BareName : PathKind::Relative;
}

std::string WithTrailingBackslash(std::string path, LeadBytePredicate isLead)
{
    if (path.empty() || LastDelimiter(path, "\\", isLead) != path.size() - 1)
        path += '\\';
    return path;
}
