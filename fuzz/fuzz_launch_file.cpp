// Any bytes load without fault, in any encoding, and what a load gives
// survives a save in the file's own encoding and a reload unchanged, byte for
// byte, wherever the encoding read back is the one written.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/store/LaunchEncoding.h"
#include "core/store/LaunchList.h"
#include "tests/native/ExactCp932.h"

namespace {
LaunchList Load(std::string_view bytes, std::string& dbl, LaunchEncoding& encoding)
{
    DecodedLaunchFile decoded = DecodeLaunchFile(bytes, ExactToCp932);
    encoding = decoded.Encoding;
    if (decoded.Undecodable && !decoded.Parsed.Items.empty())
        std::abort();  // nothing of a broken file is taken
    if (decoded.LostItems.size() != decoded.LostLines.size())
        std::abort();
    LaunchList list;
    ApplyLaunchFile(std::move(decoded.Parsed), list, dbl);
    return list;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string dbl = "before";
    LaunchEncoding encoding{};
    const LaunchList list = Load(bytes, dbl, encoding);
    for (const std::string& s : list.ShortCutList)
        if (s.empty())
            std::abort();  // an empty shortcut line loads as NoShortCut

    const std::string saved = EncodeLaunchFile(FormatLaunchFile(list, dbl), encoding, ExactToUtf8);
    // cp932 whose only high bytes happen to pair up as UTF-8 (half-width
    // katakana such as "ﾃｽ") reads back as UTF-8: the reload must be safe, and
    // reports what cp932 cannot hold, but need not be the same list.
    const bool ambiguous = encoding == LaunchEncoding::Cp932 && DetectLaunchEncoding(saved) != LaunchEncoding::Cp932;
    std::string dbl2;
    LaunchEncoding encoding2{};
    const LaunchList again = Load(saved, dbl2, encoding2);
    if (ambiguous)
        return 0;
    if (again.Count() != list.Count() || dbl2 != dbl)
        std::abort();
    for (int i = 0; i < list.Count(); ++i)
        if (!(list.Item(i) == again.Item(i)))
            std::abort();
    if (EncodeLaunchFile(FormatLaunchFile(again, dbl2), encoding2, ExactToUtf8) != saved)
        std::abort();
    return 0;
}
