// Typing to find in the launch menu: which items the typed text finds, and in
// what order. Plain text, no windows: the caller folds case (and width) the
// same way for the text and the names before asking.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The file name a target ends in: what follows its last \ or /, a trailing
// one dropped first ("C:\Tools\" gives "Tools"). An address gives its last
// part.
std::wstring_view TargetFileName(std::wstring_view target);

// The items whose name or target file name contains `typed`: first those
// where it begins the name (or file name), then those where it begins a word
// of it, then the rest; each group in list order. `names[i]` and
// `fileNames[i]` belong to item i. Empty `typed` finds nothing.
std::vector<int> FindTyped(const std::vector<std::wstring>& names, const std::vector<std::wstring>& fileNames,
                           std::wstring_view typed);
