#include "core/store/LaunchList.h"

#include <utility>

std::vector<std::string> SplitLaunchLines(std::string_view text)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

ParsedLaunchFile ParseLaunchFile(std::string_view text, LeadBytePredicate isLead)
{
    std::vector<std::string> lines = SplitLaunchLines(text);
    ParsedLaunchFile parsed;
    if (lines.empty())
        return parsed;

    const bool versioned = lines[0] == kLaunchListMagic;
    const std::size_t recordSize = versioned ? 5 : 4;
    const std::size_t first = versioned ? 1 : 0;
    // A versioned file holding only the magic line has no command line.
    if (first >= lines.size())
        return parsed;

    parsed.HasLines = true;
    parsed.DblClickCommand = std::move(lines[first]);
    const std::size_t records = (lines.size() - 1 - first) / recordSize;
    parsed.Items.reserve(records);
    for (std::size_t i = 0; i < records; ++i) {
        const std::size_t e = i * recordSize + first + 1;
        LaunchItem item;
        item.Name = lines[e + 1].empty() ? DerivedName(lines[e], isLead) : std::move(lines[e + 1]);
        item.Target = std::move(lines[e]);
        item.CmdLine = std::move(lines[e + 2]);
        item.ShortCut = lines[e + 3].empty() ? NoShortCut : std::move(lines[e + 3]);
        item.Directory = versioned ? std::move(lines[e + 4]) : std::string();
        parsed.Items.push_back(std::move(item));
    }
    return parsed;
}

void ApplyLaunchFile(ParsedLaunchFile parsed, LaunchList& list, std::string& dblClickCommand)
{
    list.Clear();
    if (parsed.HasLines)
        dblClickCommand = std::move(parsed.DblClickCommand);
    for (LaunchItem& item : parsed.Items)
        list.Append(std::move(item));
}

std::string FormatLaunchFile(const LaunchList& list, std::string_view dblClickCommand)
{
    std::string out;
    // A line break inside a field would shift every later record by a line on
    // the next load, so it is written as a blank.
    auto line = [&out](std::string_view s) {
        for (char c : s)
            out.push_back(c == '\r' || c == '\n' ? ' ' : c);
        out.append("\r\n");
    };
    line(kLaunchListMagic);
    line(dblClickCommand);
    for (int i = 0; i < list.Count(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        line(list.TargetList[k]);
        line(list.NameList[k]);
        line(list.CmdLineList[k]);
        line(list.ShortCutList[k] == NoShortCut ? std::string_view() : std::string_view(list.ShortCutList[k]));
        line(list.DirectoryList[k]);
    }
    return out;
}
