// The menu's icons, gathered into one bitmap and cached in vlcr.tmp.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Cell i (one per menu row, cancel and quit last) covers x 16·i to 16·i + 15:
// the icon's image on black in rows 0-15, its mask on white in rows 16-31.
// That is at 96 DPI; the cells are the system's small-icon size for the
// menu's DPI, IconCellSize, and the strip twice that high.
inline constexpr int kIconCellSize = 16;
inline constexpr int kIconStripHeight = 32;
extern int IconCellSize;
extern int IconCellDpi;  // the DPI the cells are for, recorded with the cache
// The mark of a row without an icon: a small red dot.
inline constexpr COLORREF kIconDotColour = 0x006446FA;
inline constexpr const char* kIconStripCacheName = "vlcr.tmp";
// A cache file wider than this many cells is not read.
inline constexpr int kMaxIconStripCells = 16384;

extern HBITMAP IconStrip;

// The window told when an icon extracted in the background is in the strip
// (kWmStripIcon): the launch menu. Without one, icons are extracted at once.
void SetIconStripListener(HWND window);
inline constexpr UINT kWmStripIcon = WM_APP + 0x48;  // lParam: an extracted icon, owned now

// The shell icon of the item's target for a cell of `size` pixels, or null;
// the caller destroys it.
HICON GetItemIcon(int index, int size = IconCellSize);
// Makes the strip follow the launch list (an absent list has no items): the
// cells of targets it already shows move where their items went; the others
// are extracted on the worker, each target once, and their rows show the
// generic icon of their kind meanwhile. Once every cell is drawn the strip
// is written to the cache file.
void BuildIconStrip();
// An icon from the worker (kWmStripIcon's lParam) drawn into the cells
// waiting for it: the items whose cells it drew, none for an icon of a list
// replaced since.
std::vector<int> TakeStripIcon(LPARAM answer);
void DropStripIcon(LPARAM answer);
// Whether the item's cell is drawn (cancel and quit are); a waiting row shows
// KindIcon instead.
bool IconCellReady(int index);
// No cell waits for its icon.
bool IconStripWhole();
// The generic icon of the item's kind (its file type, a folder), as the shell
// gives it by name alone; kept, not to be destroyed.
HICON KindIcon(int index, bool folder, int size);
void FreeIconStrip();
// Memory-saving mode: the strip goes now, or once it is whole and cached.
void ReleaseIconStrip();
// Draws one item's cell anew (its icon has come); false without a strip.
bool RedrawIconCell(int index);
// Writes the strip and what it was made for to the cache; the strip in
// memory is kept.
void SaveIconStrip();
// Takes the strip from the cache file when the cache was made for this list
// (targets, order, the program's folder, DPI and cell size), else builds it.
// A strip still in memory is kept and brought up to date.
bool LoadIconStrip();

std::string IconStripCachePath();  // in the temporary folder
std::string IconStripKeyPath();    // beside it: what the cache was made for
