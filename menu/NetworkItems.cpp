#include "menu/NetworkItems.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "core/store/ItemPaths.h"
#include "core/store/LaunchList.h"
#include "platform/BackgroundJob.h"
#include "platform/Raii.h"
#include "platform/ShellHelpers.h"

namespace {

struct ItemInfo {
    int generation = 0;
    int item = -1;
    bool folder = false;
    UniqueIcon icon;
};


// Each FindItemFolders starts a generation; the icons its answers brought,
// by item.
int Generation = 0;
std::vector<UniqueIcon> Answered;
// The drives' types, asked once a list reading: the question opens the
// drive, a noticeable cost for each of a hundred items.
UINT DriveTypes[26] = {};

UINT DriveTypeOf(char letter)
{
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    if (upper < 'A' || upper > 'Z')
        return DRIVE_UNKNOWN;
    UINT& known = DriveTypes[upper - 'A'];
    if (known == 0) {
        const char root[] = {upper, ':', '\\', '\0'};
        known = GetDriveTypeA(root) + 1;  // 0 is "not asked"
    }
    return known - 1;
}

bool Large(int size) { return size > GetSystemMetrics(SM_CXSMICON); }

HICON ShellIcon(const std::wstring& path, DWORD attributes, UINT flags, int size)
{
    SHFILEINFOW info{};
    flags |= SHGFI_ICON | (Large(size) ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    if (!SHGetFileInfoW(path.c_str(), attributes, &info, sizeof info, flags))
        return nullptr;
    return info.hIcon;
}

void AskInBackground(HWND answerTo, int generation, int item, std::wstring path, int size)
{
    RunInBackground([=] {
        auto info = std::make_unique<ItemInfo>();
        info->generation = generation;
        info->item = item;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            info->folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            info->icon.reset(ShellIcon(path, 0, 0, size));
        }
        PostResult(answerTo, kWmItemInfo, std::move(info));
    });
}

}  // namespace

bool IsNetworkPath(const std::string& path)
{
    if (PathIsUNCA(path.c_str()))
        return true;
    if (path.size() < 2 || path[1] != ':')
        return false;
    return DriveTypeOf(path[0]) == DRIVE_REMOTE;
}

std::vector<bool> FindItemFolders(HWND answerTo, int iconSize)
{
    ++Generation;
    Answered.clear();
    std::fill(std::begin(DriveTypes), std::end(DriveTypes), 0u);  // a drive may have been mapped since
    const int count = LaunchItemCount();
    std::vector<bool> folders(static_cast<std::size_t>(count > 0 ? count : 0));
    Answered.resize(folders.size());
    for (int i = 0; i < count; ++i) {
        const std::string target = ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(i)]);
        if (target.empty())
            continue;
        if (IsNetworkPath(target))
            AskInBackground(answerTo, Generation, i, Widen(target), iconSize);
        else
            folders[static_cast<std::size_t>(i)] = FolderExists(target);
    }
    return folders;
}

std::optional<ItemAnswer> TakeItemInfo(LPARAM answer)
{
    const std::unique_ptr<ItemInfo> info = TakeResult<ItemInfo>(answer);
    if (info->generation != Generation || info->item < 0 || static_cast<std::size_t>(info->item) >= Answered.size())
        return std::nullopt;  // an answer about a list read before
    UniqueIcon& kept = Answered[static_cast<std::size_t>(info->item)];
    kept = std::move(info->icon);
    return ItemAnswer{info->item, info->folder, kept.get() != nullptr};
}

HICON NetworkItemIcon(int item, int size)
{
    if (item < 0 || item >= LaunchItemCount())
        return nullptr;
    const std::string target = ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(item)]);
    if (!IsNetworkPath(target))
        return nullptr;
    if (static_cast<std::size_t>(item) < Answered.size() && Answered[static_cast<std::size_t>(item)])
        return CopyIcon(Answered[static_cast<std::size_t>(item)].get());
    // By the name alone: the shell does not look at the file.
    return ShellIcon(Widen(target), FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES, size);
}
