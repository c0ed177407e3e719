// The encodings Launch.ini may be saved in: the program's own cp932, UTF-8
// as many editors write it, with or without a byte-order mark, or UTF-16 with
// one (Notepad's "Unicode", PowerShell 5's redirection). The list itself is
// cp932 in memory; any other file is converted line by line, exactly, and
// written back in the encoding it came in.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/LaunchList.h"

enum class LaunchEncoding : std::uint8_t { Cp932, Utf8, Utf8WithBom, Utf16Le, Utf16Be };

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 bytes (no byte-order mark) as UTF-8, exactly; nothing for an odd
// length or a surrogate without its pair.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// Well-formed UTF-8 as UTF-16 bytes, without a byte-order mark.
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// A byte-order mark says UTF-16 or UTF-8; so do bytes that are all valid UTF-8 and hold
// at least one multi-byte sequence, which cp932 text with Japanese in it
// almost never is. Anything else, plain ASCII included, is cp932.
LaunchEncoding DetectLaunchEncoding(std::string_view bytes);

// One line of UTF-8 as cp932, exactly (the same again after converting back),
// or nothing where cp932 cannot hold it.
using ToCp932Function = std::optional<std::string> (*)(std::string_view utf8);
// cp932 as UTF-8; every cp932 text has one.
using ToUtf8Function = std::string (*)(std::string_view cp932);

struct DecodedLaunchFile {
    ParsedLaunchFile Parsed;
    LaunchEncoding Encoding = LaunchEncoding::Cp932;
    // 1-based numbers of the items left out because cp932 cannot hold one of
    // their fields, and of the first such line in the file; item 0 is the
    // double-click command, which then loads empty (nothing runs).
    std::vector<std::size_t> LostItems;
    std::vector<std::size_t> LostLines;
    // A UTF-16 file that is no UTF-16 (cut short, a lone surrogate): nothing
    // of it is taken, and it is kept as it is.
    bool Undecodable = false;
};

// A file's bytes as the list they hold, in whichever encoding they are.
DecodedLaunchFile DecodeLaunchFile(std::string_view bytes, ToCp932Function toCp932);

// The list's cp932 text in the encoding the file came in.
std::string EncodeLaunchFile(std::string_view cp932, LaunchEncoding encoding, ToUtf8Function toUtf8);
