// Any bytes load without fault, and what a load gives survives a save and a
// reload unchanged, byte for byte.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/LaunchList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    LaunchList list;
    std::string dbl = "before";
    ApplyLaunchFile(ParseLaunchFile(text), list, dbl);
    for (const std::string& s : list.ShortCutList)
        if (s.empty())
            std::abort();  // an empty shortcut line loads as NoShortCut

    const std::string saved = FormatLaunchFile(list, dbl);
    LaunchList again;
    std::string dbl2;
    ApplyLaunchFile(ParseLaunchFile(saved), again, dbl2);
    if (again.Count() != list.Count() || dbl2 != dbl)
        std::abort();
    for (int i = 0; i < list.Count(); ++i)
        if (!(list.Item(i) == again.Item(i)))
            std::abort();
    if (FormatLaunchFile(again, dbl2) != saved)
        std::abort();
    return 0;
}
