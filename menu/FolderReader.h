// Reading a folder for its menu. It may wait on the network for a share's
// time-out: it is called on a background thread only.
#pragma once
#include <string>
#include <vector>

#include "menu/FolderOrder.h"

struct FolderListing {
    bool readable = false;  // false: no access, a drive not ready, a share away
    std::vector<FolderEntry> entries;  // in the menu's order, hidden and system ones left out
};
FolderListing ReadFolder(const std::wstring& folder);

// `folder` and `name` joined by one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
