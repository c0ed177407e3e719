// Launch items whose target lies on the network (a share, a mapped drive):
// whether the target is a folder and what its icon is are asked on a thread
// of their own, so that a share that is away (a sleeping NAS, a VPN down)
// holds neither the start-up nor the menu. Until the answer comes the item
// counts as no folder and shows the generic icon of its name.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A UNC path, or one on a drive mapped to a share.
bool IsNetworkPath(const std::string& path);

// For every item of the launch list: its target (variables expanded,
// relative paths resolved) is a folder. Local targets are looked at now;
// each network one is asked in the background, and its answer is posted to
// `answerTo` as kWmItemInfo. Answers to an earlier call are dropped.
std::vector<bool> FindItemFolders(HWND answerTo);
// An answer has come (kWmItemInfo's lParam): the item's folder state, its
// icon in the strip and its row are brought up to date.
void TakeItemInfo(LPARAM answer);

// The icon of a network item: the one its answer brought, or the generic
// icon of its name until then; the caller destroys it. Null for a local item.
HICON NetworkItemIcon(int item, int size);
