// Draws the launch menu's rows, and its folder menus' rows, one at a time:
// each into a one-row bitmap that is then copied to the screen in one
// transfer, so that no row flickers through its steps.
#pragma once
#include <windows.h>

#include <functional>
#include <string_view>

#include "menu/MenuModel.h"
#include "menu/MenuPalette.h"
#include "platform/Raii.h"

struct RowContent {
    bool selected = false;
    bool itemRow = false;  // a launch item: the letter column and the item caption's colour
    bool greyed = false;   // a row that tells a state ("empty"), not a choice
    bool bold = false;     // the double-click command's row
    bool arrow = false;    // a folder: the arrow at the right edge
    int scrollMark = 0;    // rows hidden beyond this edge row: -1 above it, 1 below it
    std::string_view letter;
    std::string_view caption;       // in the ANSI code page, or
    std::wstring_view wideCaption;  // a name from outside, every character kept
};
// Draws the row's icon into the row bitmap at (x, y); absent: no icon.
using RowIconDrawer = std::function<void(HDC rowDc, int x, int y)>;

class MenuRowPainter {
public:
    explicit MenuRowPainter(const MenuGeometry& geometry);
    ~MenuRowPainter();
    MenuRowPainter(const MenuRowPainter&) = delete;
    MenuRowPainter& operator=(const MenuRowPainter&) = delete;

    // Another DPI makes the fonts and the row bitmaps anew.
    void SetGeometry(const MenuGeometry& geometry);
    const MenuGeometry& Geometry() const noexcept { return geometry_; }
    // The rows' width in pixels (the geometry's, or a folder menu's own).
    void SetWidth(int width);
    int Width() const noexcept { return width_; }
    bool Ready() const noexcept { return static_cast<bool>(rowBitmap_); }
    HDC RowDc() const noexcept { return rowDc_.get(); }
    // The menu's background (white, or the dark look's), or the system's
    // menu colour in high contrast.
    HBRUSH BackgroundBrush();
    HFONT WideFont() const noexcept { return wideFont_.get(); }

    // The row drawn into the row bitmap, then copied to `target` at y.
    void Paint(HDC target, int y, const RowContent& row, bool showIcons, const RowIconDrawer& icon);

private:
    void MakeFonts();
    void FollowTheme();
    void MakeBrushes();
    void MakeBitmaps();
    void DrawBody(int left);
    void DrawArrow(COLORREF colour);
    void DrawScrollMark(COLORREF colour, bool up);
    void DrawCaption(const RowContent& row, int x, int y, bool clipped);
    // In the system's colours, flat, the selected row highlighted.
    void PaintHighContrast(HDC target, int y, const RowContent& row, bool showIcons, const RowIconDrawer& icon);

    MenuGeometry geometry_;
    MenuPalette palette_;
    int width_ = 0;
    int bitmapWidth_ = 0, bitmapHeight_ = 0;
    UniqueMemoryDc rowDc_;
    UniqueBitmap rowBitmap_;
    HGDIOBJ rowDcOriginalBitmap_ = nullptr;
    HGDIOBJ rowDcOriginalFont_ = nullptr;
    // The two body gradients (from x 20 and from x 40) for the current width,
    // painted once: rows 0-19 and 20-39.
    UniqueMemoryDc bodyDc_;
    UniqueBitmap bodyBitmap_;
    HGDIOBJ bodyDcOriginalBitmap_ = nullptr;
    UniqueFont font_, boldFont_, wideFont_;
    UniqueBrush backgroundBrush_, leftNormalBrush_, leftSelectedBrush_, iconColumnBrush_, frameFillBrush_;
    UniquePen framePen_;
};
