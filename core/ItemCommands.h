// The command menu's commands, reached through the command window.
#pragma once
#include <string>

void EditItemCommand();        // 1
void DeleteItemCommand();      // 2
void NewItemCommand();         // 3
void ItemListEditorCommand();  // 4
void HelpCommand();            // 5
void OptionsCommand();         // 6
void VersionInfoCommand();     // 7
void OpenLocationCommand();    // 8

// Whether an item's target is a file or folder whose place Explorer can show:
// not a web address, not a bare name the system looks for.
bool TargetHasLocation(const std::string& target);

// The delete question follows the row's caption directly.
inline constexpr const char* kDeleteQuestion = " を削除してもよろしいですか？";
inline constexpr const char* kDeleteCaption = "アイテムの削除";

// The handler of a command menu identifier, or null for any other value.
using ItemCommand = void (*)();
ItemCommand ItemCommandFor(int identifier);
