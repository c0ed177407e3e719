#include "menu/NetworkItems.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include "core/store/ItemPaths.h"
#include "core/store/LaunchList.h"
#include "platform/BackgroundJob.h"
#include "platform/Raii.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"

namespace {

// What a share said of a path, kept for the program's life while the list
// holds the path: a slow share is asked once, not at every showing. The
// worker writes, the user's thread reads, each under the lock.
struct Known {
    bool folder = false;
    int iconSize = 0;
    UniqueIcon icon;
};
struct Answers {
    CRITICAL_SECTION lock;
    std::map<std::wstring, Known> byPath;
    std::set<std::wstring> asking;  // queued or under way
    Answers() { InitializeCriticalSection(&lock); }
};
Answers& Shared()
{
    static Answers* answers = new Answers;  // never freed: the worker may still write at exit
    return *answers;
}
class Locked {
public:
    Locked() { EnterCriticalSection(&Shared().lock); }
    ~Locked() { LeaveCriticalSection(&Shared().lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

// By item of the last reading: its network path, or empty (user's thread).
std::vector<std::wstring> ItemTargets;
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

void Ask(HWND answerTo, const std::wstring& path, int size)
{
    {
        const Locked locked;
        if (!Shared().asking.insert(path).second)
            return;  // asked already: its answer serves every showing
    }
    const bool queued = RunOnWorker([answerTo, path, size] {
        Known found;
        found.iconSize = size;
        const DWORD attributes = NetworkFileAttributes(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            found.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            found.icon.reset(ShellIcon(path, 0, 0, size));
        }
        {
            const Locked locked;
            Shared().byPath[path] = std::move(found);
            Shared().asking.erase(path);
        }
        PostResult(answerTo, kWmItemInfo, std::make_unique<std::wstring>(path));
    });
    if (!queued) {
        const Locked locked;
        Shared().asking.erase(path);
    }
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
    std::fill(std::begin(DriveTypes), std::end(DriveTypes), 0u);  // a drive may have been mapped since
    const int count = LaunchItemCount();
    std::vector<bool> folders(static_cast<std::size_t>(count > 0 ? count : 0));
    ItemTargets.assign(folders.size(), std::wstring());
    std::set<std::wstring> held;
    for (int i = 0; i < count; ++i) {
        const std::string target = ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(i)]);
        if (target.empty())
            continue;
        if (!IsNetworkPath(target)) {
            folders[static_cast<std::size_t>(i)] = FolderExists(target);
            continue;
        }
        const std::wstring path = Widen(target);
        ItemTargets[static_cast<std::size_t>(i)] = path;
        held.insert(path);
        bool answered = false, folder = false, iconFits = false;
        {
            const Locked locked;
            const auto known = Shared().byPath.find(path);
            answered = known != Shared().byPath.end();
            folder = answered && known->second.folder;
            iconFits = answered && known->second.iconSize == iconSize;
        }
        folders[static_cast<std::size_t>(i)] = folder;
        if (!iconFits)
            Ask(answerTo, path, iconSize);
    }
    // What the list no longer holds is forgotten.
    const Locked locked;
    std::erase_if(Shared().byPath, [&](const auto& known) { return !held.count(known.first); });
    return folders;
}

std::vector<ItemAnswer> TakeItemInfo(LPARAM answer)
{
    const std::unique_ptr<std::wstring> path = TakeResult<std::wstring>(answer);
    bool folder = false, icon = false;
    {
        const Locked locked;
        const auto known = Shared().byPath.find(*path);
        if (known == Shared().byPath.end())
            return {};
        folder = known->second.folder;
        icon = known->second.icon.get() != nullptr;
    }
    std::vector<ItemAnswer> answers;
    for (std::size_t i = 0; i < ItemTargets.size(); ++i)
        if (ItemTargets[i] == *path)
            answers.push_back({static_cast<int>(i), folder, icon});
    return answers;
}

void DropItemInfo(LPARAM answer) { TakeResult<std::wstring>(answer); }

HICON NetworkItemIcon(int item, int size)
{
    if (item < 0 || item >= LaunchItemCount())
        return nullptr;
    const std::string target = ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(item)]);
    if (!IsNetworkPath(target))
        return nullptr;
    const std::wstring path = Widen(target);
    {
        const Locked locked;
        const auto known = Shared().byPath.find(path);
        if (known != Shared().byPath.end() && known->second.icon && known->second.iconSize == size)
            return CopyIcon(known->second.icon.get());
    }
    // By the name alone: the shell does not look at the file.
    return ShellIcon(path, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES, size);
}
