#include "core/store/ItemPaths.h"

#include <windows.h>

#include <vector>

#include "core/store/LaunchFile.h"
#include "platform/ModulePath.h"
#include "platform/PathText.h"

std::string ExpandVariables(const std::string& text)
{
    if (text.find('%') == std::string::npos)
        return text;
    std::vector<char> buffer(text.size() + 256);
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return text;
        if (n <= buffer.size())
            return std::string(buffer.data());
        buffer.resize(n);
    }
}

std::string ResolveItemPath(const std::string& written)
{
    const std::string expanded = ExpandVariables(written);
    if (ClassifyPath(expanded, IsAnsiLeadByte) != PathKind::Relative)
        return expanded;
    // "..\" and ".\" folded away, so that the shell and the icon lookup see
    // the one plain path.
    const std::string joined = LaunchFileFolder() + expanded;
    std::vector<char> full(joined.size() + MAX_PATH);
    const DWORD n = GetFullPathNameA(joined.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return n > 0 && n < full.size() ? std::string(full.data(), n) : joined;
}
