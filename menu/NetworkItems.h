// Launch items whose target lies on the network (a share, a mapped drive):
// whether the target is a folder and what its icon is are asked on a thread
// of their own, so that a share that is away (a sleeping NAS, a VPN down)
// holds neither the start-up nor the menu. Until the answer comes the item
// counts as no folder and shows the generic icon of its name. However many
// showings ask, a share is asked about each path once at a time.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A UNC path, or one on a drive mapped to a share.
bool IsNetworkPath(const std::string& path);

// The launch menu's message that carries an answer: lParam, owned now.
inline constexpr UINT kWmItemInfo = WM_APP + 0x40;

// For every item of the launch list: its target (variables expanded,
// relative paths resolved) is a folder. Local targets are looked at now.
// Network ones are answered from what their share said before; a path not
// yet answered (or not at `iconSize`) is asked on the program's one worker,
// one question a path at a time, and its answer is posted to `answerTo` as
// kWmItemInfo. Answers are kept by path while the list holds the path.
std::vector<bool> FindItemFolders(HWND answerTo, int iconSize);

// What an answer says for one item: its folder state, and whether the
// share gave an icon (NetworkItemIcon hands it out from now on).
struct ItemAnswer {
    int item = -1;
    bool folder = false;
    bool icon = false;
};
// Takes an answer (kWmItemInfo's lParam): one entry for each item of the
// last FindItemFolders with that path, none for a path the list no longer
// holds. The one who asked brings its rows and icons up to date.
std::vector<ItemAnswer> TakeItemInfo(LPARAM answer);
// Frees an answer that will not be taken (its window is going).
void DropItemInfo(LPARAM answer);

// The icon of a network item: the one its answer brought, or the generic
// icon of its name until then; the caller destroys it. Null for a local item.
HICON NetworkItemIcon(int item, int size);
