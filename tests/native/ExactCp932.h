// Exact conversions between UTF-8 and cp932 for the portable code's tests:
// Windows' own in the Windows build, glibc's table where it runs natively
// (tests, fuzzing).
#pragma once
#include <optional>
#include <string>
#include <string_view>

// A u8 literal as bytes: plain literals are cp932 in this project.
inline std::string U8(std::u8string_view s) { return std::string(reinterpret_cast<const char*>(s.data()), s.size()); }

#ifdef _WIN32
#include "platform/CodePage.h"

inline std::optional<std::string> ExactToCp932(std::string_view utf8) { return Utf8ToCp932(utf8); }
inline std::string ExactToUtf8(std::string_view cp932) { return Cp932ToUtf8(cp932); }
#else
#include <iconv.h>

inline std::optional<std::string> IconvConvert(std::string_view in, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string source(in), out(in.size() * 4 + 4, '\0');
    char* inPtr = source.data();
    char* outPtr = out.data();
    std::size_t inLeft = source.size(), outLeft = out.size();
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

inline std::optional<std::string> ExactToCp932(std::string_view utf8)
{
    auto out = IconvConvert(utf8, "CP932", "UTF-8");
    if (out && IconvConvert(*out, "UTF-8", "CP932") != std::string(utf8))
        return std::nullopt;  // not the same characters on the way back
    return out;
}

inline std::string ExactToUtf8(std::string_view cp932) { return IconvConvert(cp932, "UTF-8", "CP932").value_or(""); }
#endif
