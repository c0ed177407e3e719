// Where the Start menu's programs are: the user's and all users' Programs
// folders, their shortcuts found through every subfolder, and the Store apps
// the shell lists in its Applications folder.
#pragma once
#include <functional>
#include <string>
#include <vector>

// The Programs folder of the user's Start menu, or of all users'; "" where
// the system has none.
std::wstring ProgramsFolder(bool allUsers);

// Calls `found` for each ".lnk" below `root`, with the subfolder it sits in
// ("" at the top, "A\B" deeper), its name without ".lnk" and its full path.
using ShortcutFound = std::function<void(const std::wstring& folder, const std::wstring& name, const std::wstring& path)>;
void FindShortcuts(const std::wstring& root, const ShortcutFound& found);

struct StoreApp {
    std::wstring name;
    std::wstring id;  // the shell starts it as "shell:AppsFolder\" + id
    int icon = 0;     // in the system's small image list
};
// The apps of the shell's Applications folder that are packaged apps (their
// id names a package: "Publisher.App_hash!App"); none where the shell has no
// such folder. COM must be set up on the calling thread.
std::vector<StoreApp> ListStoreApps();

// The small system image list's index for a file; `byKind` asks only for its
// kind's icon (by its extension), which the shell answers at once.
int SmallIconIndex(const std::wstring& path, bool byKind);
