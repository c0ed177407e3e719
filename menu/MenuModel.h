// The launch menu's rows, their geometry, the selection and shortcut rules,
// and what a row looks like in each state: plain values, no windows.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu/MenuPalette.h"
#include "platform/GradientBands.h"
#include "platform/Scaling.h"

struct MenuRow {
    std::string Caption;
    std::int32_t Ref;  // the LaunchItem index, or one of the fixed rows below
    bool operator==(const MenuRow&) const = default;
};

inline constexpr std::int32_t kCancelRef = -2;
inline constexpr std::int32_t kQuitRef = -3;
inline constexpr const char* kCancelCaption = " キャンセル";
inline constexpr const char* kQuitCaption = " 迅の終了";
// The rows of a search: what was typed, at the top, and the greyed row of a
// search that found nothing.
inline constexpr std::int32_t kSearchRef = -4;
inline constexpr std::int32_t kNoMatchRef = -5;
inline constexpr const char* kSearchCaptionHead = " 検索: ";
inline constexpr const char* kNoMatchCaption = " （該当なし）";
// An item, the cancel row or the quit row: a row that Enter or a click acts on.
constexpr bool IsChoosableRef(std::int32_t ref) { return ref >= 0 || ref == kCancelRef || ref == kQuitRef; }

// The items' rows in list order, then the cancel and quit rows.
std::vector<MenuRow> BuildMenuRows(const std::vector<std::string>& names);

// The first item whose target names the double-click command, or -1. No
// command at all makes no item the default.
using TextEqualFunction = bool (*)(std::string_view, std::string_view);
int FindDefaultIndex(const std::vector<std::string>& targets, std::string_view dblClickCommand,
                     TextEqualFunction equalIgnoringCase);

// Geometry at 96 DPI, in the control's client pixels. The control sits 2 px
// above its window's top, so row 0 starts at the window's top edge.
inline constexpr int kMenuWidth = 180;
inline constexpr int kRowHeight = 20;
inline constexpr int kRowsTop = 2;
inline constexpr int kLeftColumnRight = 20;
inline constexpr int kIconColumnRight = 40;
inline constexpr int kLetterX = 10;
inline constexpr int kLetterY = 4;
inline constexpr int kIconSize = 16;
constexpr int RowTop(int row) { return kRowHeight * row + kRowsTop; }
constexpr int ControlHeight(int rowCount) { return kRowHeight * rowCount + kRowsTop; }

// The geometry at a DPI: every length scaled, the icons the system's small
// icons for that DPI. Rows are one scaled height each, stacked without gaps.
// The default is the geometry at 96 DPI.
struct MenuGeometry {
    int dpi = 96;
    int width = kMenuWidth;
    int rowHeight = kRowHeight;
    int rowsTop = kRowsTop;
    int leftColumnRight = kLeftColumnRight;
    int iconColumnRight = kIconColumnRight;
    int letterX = kLetterX;
    int letterY = kLetterY;
    int iconSize = kIconSize;
    int line = 1;  // the selection frame's pen
    int Px(int length) const;  // a 96-DPI length at this DPI
    int RowTop(int row) const { return rowHeight * row + rowsTop; }
    int ControlHeight(int rowCount) const { return rowHeight * rowCount + rowsTop; }
    // How many rows a window at most `height` high shows: at least one.
    int RowsThatFit(int height) const;
    bool operator==(const MenuGeometry&) const = default;
};
MenuGeometry MenuGeometryFor(int dpi, int smallIconSize);

// The row under client y, read as the unsigned half of a mouse message: -1
// beyond twice the control's height, so a pointer just below the last row
// still gives a row (past the last one) and one above the control none.
int RowAtPoint(unsigned y, int controlHeight, const MenuGeometry& geometry = {});

// -1 for any negative index, the last row for any beyond it.
int ClampSelectedIndex(int index, int rowCount);
// The arrow keys wrap: above row 0 (or from no selection) is the last row,
// below the last row is row 0.
int RowAbove(int selected, int rowCount);
int RowBelow(int selected, int rowCount);
// An item row, not the cancel or quit row nor outside the rows.
bool IsItemRow(int row, int rowCount);

// Home and End go to the first and last row; Page Up and Page Down move a
// page less one row, so the row at the page's edge stays in sight, stopping
// at either end. `page` is the number of rows shown.
enum class PageKey { Home, End, PageUp, PageDown };
int RowForPageKey(PageKey key, int selected, int rowCount, int page);
// The page key a Windows virtual-key code is (Page Up, Page Down, End, Home),
// or none.
std::optional<PageKey> PageKeyFor(unsigned virtualKey);

// A drag starts once the pointer is more than 5 px away in x or y.
inline constexpr int kDragThreshold = 5;
bool PastDragThreshold(int startX, int startY, int x, int y, int threshold = kDragThreshold);

// The first item row whose shortcut is the typed character upper-cased (only
// a-z change), compared exactly; -1 when none. `shortCuts` is indexed by the
// rows' Ref. A typed NUL matches nothing: that is how "no shortcut" is stored.
int FindShortcutRow(const std::vector<MenuRow>& rows, const std::vector<std::string>& shortCuts, char typed);

// Characters reach the ANSI menu one byte at a time: a double-byte character
// (from an input method) comes as its lead byte, then its trail byte, and a
// cp932 trail byte may look like a letter (ア is 83 41). The pair is one
// character and is no shortcut letter.
class TypedBytes {
public:
    // The single-byte character to match, or nothing for either byte of a pair.
    std::optional<char> Take(unsigned char byte, bool (*isLead)(unsigned char));

private:
    bool trailNext_ = false;
};

// What one row shows, drawn into a bitmap one row high whose top is y 0.
struct RowLook {
    Colour leftColumn;
    bool frame;         // the selection frame over (20, 0, W - 1, 20)
    bool iconColumn;    // (20, 0, 40, 20) filled with kIconColumnNormal
    int gradientLeft;   // the body gradient from here to W - 1, or -1 for none
    bool letter;        // the shortcut letter at (10, 4)
    Colour letterColour;
    int iconX, iconY;   // where the icon goes when icons are shown
    int captionX, captionY;
    Colour captionColour;
    bool shadow;        // the selected caption's shadow at its resting place
    int shadowX, shadowY;
};
// In the palette's colours; the light one when none is given.
RowLook DescribeRow(bool selected, bool showIcons, bool itemRow, const MenuGeometry& geometry = {});
RowLook DescribeRow(bool selected, bool showIcons, bool itemRow, const MenuGeometry& geometry,
                    const MenuPalette& palette);
