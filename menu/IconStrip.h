// The menu's icons, gathered into one bitmap and cached in vlcr.tmp.
#pragma once
#include <windows.h>

#include <string>

// Cell i (one per menu row, cancel and quit last) covers x 16·i to 16·i + 15:
// the icon's image on black in rows 0-15, its mask on white in rows 16-31.
// That is at 96 DPI; the cells are the system's small-icon size for the
// menu's DPI, IconCellSize, and the strip twice that high.
inline constexpr int kIconCellSize = 16;
inline constexpr int kIconStripHeight = 32;
extern int IconCellSize;
// The mark of a row without an icon: a small red dot.
inline constexpr COLORREF kIconDotColour = 0x006446FA;
inline constexpr const char* kIconStripCacheName = "vlcr.tmp";
// A cache file wider than this many cells is not read.
inline constexpr int kMaxIconStripCells = 16384;

extern HBITMAP IconStrip;

// The shell icon of the item's target for a cell of `size` pixels, or null;
// the caller destroys it.
HICON GetItemIcon(int index, int size = IconCellSize);
// Builds the strip from the launch list (an absent list has no items), and
// saves it when memory-saving mode is on.
void BuildIconStrip();
void FreeIconStrip();
// Draws one item's cell anew (its icon has come); false without a strip.
bool RedrawIconCell(int index);
// Writes the strip to the cache file; the strip in memory is kept.
void SaveIconStrip();
// Takes the strip from the cache file; a file that is missing, unreadable,
// not a strip this program wrote or of another cell size (written at another
// DPI) is not used, and the strip is built instead.
bool LoadIconStrip();

std::string IconStripCachePath();  // in the temporary folder
