#include "menu/MenuSearch.h"

#include <algorithm>

namespace {

// Separators between words, in ASCII and in their full-width forms, with the
// Japanese brackets and stops.
bool IsSeparator(wchar_t c)
{
    if (c < 0x80)
        return !((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'));
    if (c >= 0xFF01 && c <= 0xFF0F)
        return true;
    if ((c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65))
        return true;
    return c == 0x3000 || c == 0x3001 || c == 0x3002 || c == 0x30FB || (c >= 0x3008 && c <= 0x3011);
}

enum Rank { kBegins = 0, kWordBegins = 1, kContains = 2, kNone = 3 };

Rank RankIn(std::wstring_view text, std::wstring_view typed)
{
    Rank best = kNone;
    for (std::size_t at = text.find(typed); at != std::wstring_view::npos; at = text.find(typed, at + 1)) {
        if (at == 0)
            return kBegins;
        best = std::min(best, IsSeparator(text[at - 1]) ? kWordBegins : kContains);
    }
    return best;
}

}  // namespace

std::wstring_view TargetFileName(std::wstring_view target)
{
    while (!target.empty() && (target.back() == L'\\' || target.back() == L'/'))
        target.remove_suffix(1);
    const std::size_t slash = target.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? target : target.substr(slash + 1);
}

std::vector<int> FindTyped(const std::vector<std::wstring>& names, const std::vector<std::wstring>& fileNames,
                           std::wstring_view typed)
{
    std::vector<std::vector<int>> groups(kNone);
    if (typed.empty())
        return {};
    for (std::size_t i = 0; i < names.size(); ++i) {
        Rank rank = RankIn(names[i], typed);
        if (i < fileNames.size())
            rank = std::min(rank, RankIn(fileNames[i], typed));
        if (rank != kNone)
            groups[rank].push_back(static_cast<int>(i));
    }
    std::vector<int> found;
    for (const auto& group : groups)
        found.insert(found.end(), group.begin(), group.end());
    return found;
}
