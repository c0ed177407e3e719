// Conversions between the program's cp932 and UTF-8, exact or not at all, and
// the check that the process runs with the code page its texts are written in.
#pragma once
#include <optional>
#include <string>
#include <string_view>

inline constexpr unsigned kJapaneseCodePage = 932;

// UTF-8 as cp932 when every character has its own cp932 form (no best-fit
// look-alike, no default character), else nothing.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);

// The process's ANSI code page is 932. Where it is not, every caption would be
// garbled: a message written with the wide calls says so in Japanese and in
// English, and the answer is false.
bool RequireJapaneseCodePage();
