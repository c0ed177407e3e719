// Path pieces of byte strings in a multibyte ANSI code page. The scans never
// take the trail byte of a double-byte character (0x5C in 表, ソ, 能) for a
// delimiter.
#pragma once
#include <string>
#include <string_view>

using LeadBytePredicate = bool (*)(unsigned char);

// Lead bytes of code page 932 (Shift-JIS as Windows has it).
bool IsCp932LeadByte(unsigned char b);

// Index of the last byte of `s` that is one of `delimiters` and not a trail
// byte, or npos.
std::size_t LastDelimiter(std::string_view s, std::string_view delimiters,
                          LeadBytePredicate isLead = IsCp932LeadByte);

// The path with one backslash at its end: added unless the last character is
// one (the trail byte of 表 is a backslash byte, but no backslash).
std::string WithTrailingBackslash(std::string path, LeadBytePredicate isLead = IsCp932LeadByte);

// The part after the last backslash or colon.
std::string FileNamePart(std::string_view path, LeadBytePredicate isLead = IsCp932LeadByte);

// Everything up to and including the last backslash or colon ("" if none).
std::string DirectoryPart(std::string_view path, LeadBytePredicate isLead = IsCp932LeadByte);

// How a path is written, for taking it as the user meant it.
enum class PathKind {
    Empty,     // nothing but blanks
    BareName,  // no folder part: "notepad.exe", "calc"; the system finds it
    Relative,  // a folder part but no root: ".\x.exe", "..\Apps\x.exe", "Tools\x.exe"
    Full,      // a drive ("C:..."), a share ("\\server\...") or the drive's root ("\x")
    Address,   // a scheme: "http://...", "mailto:...", "shell:startup"
};
PathKind ClassifyPath(std::string_view path, LeadBytePredicate isLead = IsCp932LeadByte);

// The file name without its last extension: a.tar.gz gives a.tar, and a dot
// before the last backslash or colon is not an extension.
std::string DerivedName(std::string_view target, LeadBytePredicate isLead = IsCp932LeadByte);
