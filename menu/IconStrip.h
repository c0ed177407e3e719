// The menu's icons, gathered into one bitmap and cached in vlcr.tmp.
#pragma once
#include <windows.h>

#include <string>

// Cell i (one per menu row, cancel and quit last) covers x 16·i to 16·i + 15:
// the icon's image on black in rows 0-15, its mask on white in rows 16-31.
inline constexpr int kIconCellSize = 16;
inline constexpr int kIconStripHeight = 32;
// The mark of a row without an icon: a small red dot.
inline constexpr COLORREF kIconDotColour = 0x006446FA;
inline constexpr const char* kIconStripCacheName = "vlcr.tmp";
// A cache file wider than this many cells is not read.
inline constexpr int kMaxIconStripCells = 16384;

extern HBITMAP IconStrip;

// The small shell icon of the item's target, or null; the caller destroys it.
HICON GetItemIcon(int index);
// Builds the strip from the launch list (an absent list has no items), and
// saves it when memory-saving mode is on.
void BuildIconStrip();
void FreeIconStrip();
// Writes the strip to the cache file; the strip in memory is kept.
void SaveIconStrip();
// Takes the strip from the cache file; a file that is missing, unreadable or
// not a strip this program wrote is not used, and the strip is built instead.
bool LoadIconStrip();

std::string IconStripCachePath();  // in the temporary folder
