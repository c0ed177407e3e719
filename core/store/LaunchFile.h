// Launch.ini beside the executable.
#pragma once
#include <string>

#include "platform/Seams.h"

// Empty: the file is there with nothing in it. Only a missing or empty file
// makes a first run; one with text in it never does, items or not.
enum class LaunchLoadResult { Loaded, Missing, Empty, Unreadable };

// In LaunchFileDirectory (Seams.h): the executable's folder unless a test
// points it elsewhere. That folder is the program's own folder for the paths
// of the items too.
std::string LaunchFileFolder();
std::string LaunchFilePath();

// Launch.ini is not as the program last read or wrote it (its last-write
// time or size differ, or it came or went): someone edited it by hand.
bool LaunchFileChanged();

// Replaces the list contents from the file, saved as cp932, UTF-8 or UTF-16. A
// file that exists but cannot be read is reported and leaves the lists as they
// were (empty at start-up); one with items that cp932 cannot hold is reported
// and loads without them. The caller must not take either for a first run.
LaunchLoadResult LoadLaunchList();

// Writes the list and the double-click command, in the encoding the file
// was read in. The old file is replaced in
// one step, so a failed or interrupted save leaves it whole; a failure is
// reported and returns false.
bool SaveLaunchList();

// The same, for a file of the caller's choosing (tests, benchmarks).
LaunchLoadResult LoadLaunchListFrom(const std::string& path);
bool SaveLaunchListTo(const std::string& path);

inline constexpr const char* kMsgCannotCreateFile = "ファイル %s を作成できません";
inline constexpr const char* kMsgCannotOpenFile = "ファイル %s を開けません";
inline constexpr const char* kMsgLostItemsHead =
    "ファイル %s の次の行には、日本語の文字コード (Shift-JIS) で表せない文字があります。";
inline constexpr const char* kMsgLostItemsTail =
    "これらのアイテムは読み込んでいません。一覧を保存するまで、ファイルはそのまま残ります。";
inline constexpr const char* kMsgLostItem = "  %s 番目のアイテム";
inline constexpr const char* kMsgLostCommand = "  ダブルクリックで起動するコマンド";
inline constexpr const char* kMsgLostLine = " (%s 行目)";
