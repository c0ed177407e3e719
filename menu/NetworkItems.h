// Launch items whose target lies on the network (a share, a mapped drive):
// whether the target is a folder and what its icon is are asked on a thread
// of their own, so that a share that is away (a sleeping NAS, a VPN down)
// holds neither the start-up nor the menu. Until the answer comes the item
// counts as no folder and shows the generic icon of its name.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A UNC path, or one on a drive mapped to a share.
bool IsNetworkPath(const std::string& path);

// The launch menu's message that carries an answer: lParam, owned now.
inline constexpr UINT kWmItemInfo = WM_APP + 0x40;

// For every item of the launch list: its target (variables expanded,
// relative paths resolved) is a folder. Local targets are looked at now;
// each network one is asked in the background, its icon at `iconSize`, and
// its answer is posted to `answerTo` as kWmItemInfo. Answers to an earlier
// call are dropped.
std::vector<bool> FindItemFolders(HWND answerTo, int iconSize);

// What an answer says, once kept here: the item's folder state, and whether
// it brought an icon (NetworkItemIcon hands it out from now on).
struct ItemAnswer {
    int item = -1;
    bool folder = false;
    bool icon = false;
};
// Takes an answer (kWmItemInfo's lParam); nothing for one about a list read
// before. The one who asked brings its row and icon up to date.
std::optional<ItemAnswer> TakeItemInfo(LPARAM answer);

// The icon of a network item: the one its answer brought, or the generic
// icon of its name until then; the caller destroys it. Null for a local item.
HICON NetworkItemIcon(int item, int size);
