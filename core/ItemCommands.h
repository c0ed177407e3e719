// The command menu's seven commands, reached through the command window.
#pragma once

void EditItemCommand();        // 1
void DeleteItemCommand();      // 2
void NewItemCommand();         // 3
void ItemListEditorCommand();  // 4
void HelpCommand();            // 5
void OptionsCommand();         // 6
void VersionInfoCommand();     // 7

// The delete question follows the row's caption directly.
inline constexpr const char* kDeleteQuestion = " を削除してもよろしいですか？";
inline constexpr const char* kDeleteCaption = "アイテムの削除";

// The handler of a command menu identifier, or null for any other value.
using ItemCommand = void (*)();
ItemCommand ItemCommandFor(int identifier);
