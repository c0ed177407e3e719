// Files the user hands the dialogs (dropped from Explorer, picked in the
// open-file dialog) come as wide names; the program stores ANSI paths.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kMsgCannotRegister =
    "次のファイルは、名前にこのパソコンの文字コードで表せない文字を含むため登録できません。\r\n%s";

// The path as the program can store and launch it (the path itself, else its
// short form); nothing when neither keeps every character. The refused names
// are collected for one message.
class ChosenFiles {
public:
    std::optional<std::string> Take(const std::wstring& path);
    // A dropped or sent file as an item: named after the file without its
    // extension; a shortcut gives what it starts (an empty target when that
    // cannot be resolved, as it always did). Nothing when a path is refused.
    struct Item {
        std::string target, name;
    };
    std::optional<Item> TakeItem(const std::wstring& path);
    // Tells the user which files were refused, once, if any were.
    void ReportRefused(HWND owner) const;

private:
    std::vector<std::string> refused_;
};
