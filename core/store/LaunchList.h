// The launch list: five parallel lists, index i across them is item i, list
// order is menu order. The process-wide list may be absent (memory-saving
// mode frees it while the menu is hidden).
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"

// A shortcut of one NUL character means "no shortcut key".
inline const std::string NoShortCut(1, '\0');

inline constexpr std::string_view kLaunchListMagic = "VELOCARA_LAUNCHLIST_2";
inline constexpr std::string_view kLaunchFileName = "Launch.ini";

struct LaunchItem {
    std::string Target, Name, CmdLine, ShortCut, Directory;
    bool operator==(const LaunchItem&) const = default;
};

class LaunchList {
public:
    std::vector<std::string> TargetList, NameList, CmdLineList, ShortCutList, DirectoryList;

    int Count() const { return static_cast<int>(TargetList.size()); }
    LaunchItem Item(int i) const;
    void Clear();
    int Add();
    void Append(LaunchItem item);
    void Delete(int index);
    void Set(int index, std::string target, std::string name, std::string cmdLine,
             std::string directory, std::string shortCut);
    void Move(int from, int to);
};

// The process-wide list (null while absent) and the double-click command,
// which lives for the whole run and is not freed with the lists.
extern std::unique_ptr<LaunchList> LaunchLists;
extern std::string DblClickCommand;

bool LaunchListsPresent();
void CreateLaunchLists();
void FreeLaunchLists();
void ClearLaunchList();
int AddLaunchItem();
void DeleteLaunchItem(int index);
void SetLaunchItem(int index, std::string target, std::string name, std::string cmdLine,
                   std::string directory, std::string shortCut);
void MoveLaunchItem(int from, int to);
int LaunchItemCount();  // 0 while absent

// The text of Launch.ini.
struct ParsedLaunchFile {
    bool HasLines = false;
    std::string DblClickCommand;
    std::vector<LaunchItem> Items;
};
// Lines end at CR LF, LF or CR; a last line without an end counts; a NUL byte
// ends the text.
std::vector<std::string> SplitLaunchLines(std::string_view text);
// An empty Name line takes the derived name of the target.
ParsedLaunchFile ParseLaunchFile(std::string_view text, LeadBytePredicate isLead = IsCp932LeadByte);
std::string FormatLaunchFile(const LaunchList& list, std::string_view dblClickCommand);
// Fills `list` (cleared first) and `dblClickCommand` as loading does; the
// command keeps its value when the text has no line at all.
void ApplyLaunchFile(ParsedLaunchFile parsed, LaunchList& list, std::string& dblClickCommand);
