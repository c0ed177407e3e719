// The launch menu control: one 20-pixel row per launch item (at 96 DPI; the
// geometry scales), then the cancel and quit rows. Every row is drawn into a
// one-row bitmap and copied to the screen in one transfer, so no row flickers
// through its steps. A list taller than the screen shows a window of rows
// that scrolls.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "menu/MenuModel.h"
#include "platform/Raii.h"
#include "platform/Window.h"

inline constexpr const char* kLaunchMenuClass = "TvlcrLaunchMenu";

// What the launch menu tells its parent, as WM_NOTIFY with a LaunchMenuNotice:
// the parent decides what happens.
enum LaunchMenuCode : UINT {
    kLmnRowChosen = 0x7100,  // `row` is to be launched (`elevated`: as administrator)
    kLmnCommandMenu,         // the command menu is asked for over `row`, the selected row
    kLmnClosed,              // Escape (`handBack`) or a release outside the menu
    kLmnReordered,           // item `row` was dragged onto item row `target`
};
struct LaunchMenuNotice {
    NMHDR header;
    int row = -1;
    int target = -1;
    bool handBack = false;
    bool elevated = false;
};

class TvlcrLaunchMenu final : public Window {
public:
    // A child of `parent` at (0, -2), white, visible and enabled; no icons.
    explicit TvlcrLaunchMenu(HWND parent);
    ~TvlcrLaunchMenu() override;

    // Reads Launch.ini again and makes the rows from it; the selection is
    // left as it was, even beyond the last row.
    void RebuildItems();
    int RowCount() const noexcept { return static_cast<int>(items_.size()); }
    const std::vector<MenuRow>& Items() const noexcept { return items_; }
    int DefaultIndex() const noexcept { return defaultIndex_; }

    int SelectedIndex() const noexcept { return selectedIndex_; }
    // Clamps; redraws the old and the new row when shown and changed, and
    // scrolls the new one into view.
    void SetSelectedIndex(int index);

    // The geometry the rows are drawn with. Another DPI makes the fonts and
    // the row bitmaps anew.
    const MenuGeometry& Geometry() const noexcept { return geometry_; }
    void SetGeometry(const MenuGeometry& geometry);
    // At most this many rows show at once (0: all of them), from FirstRow().
    void LimitVisibleRows(int rows);
    int VisibleRows() const noexcept;
    int FirstRow() const noexcept { return firstRow_; }
    // Scrolls so that the row is in view; true when it scrolled.
    bool ScrollIntoView(int row);
    void ScrollBy(int rows);

    bool ShowIcons() const noexcept { return showIcons_; }
    void SetShowIcons(bool show) noexcept;  // callers repaint

    void DrawRow(int index);
    void DrawAllRows();
    void Paint() { DrawAllRows(); }
    // WM_PAINT and WM_PRINTCLIENT both paint through here.
    void PaintContent(HDC dc) override;

    // Keyboard and mouse (LaunchMenuInput.cpp). Coordinates are the unsigned
    // halves of the mouse message.
    void KeyDown(WPARAM key);
    void KeyPress(char typed);
    int RowAtPoint(unsigned y) const;
    void HandleMouseMove(unsigned x, unsigned y, bool left);
    void HandleMouseDown(unsigned x, unsigned y);
    // `elevated`: Ctrl and Shift were held, the item is to run as administrator.
    void HandleMouseUp(unsigned x, unsigned y, bool right, bool elevated = false);

    void HandleWheel(int delta);
    void HandleEdgeTimer();

    bool Dragging() const noexcept { return dragging_; }
    int DragSourceIndex() const noexcept { return dragSourceIndex_; }
    HIMAGELIST DragImages() const noexcept { return dragImages_.get(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Resize();
    void MakeFonts();
    void SetRowBitmapWidth(int width);
    void SetFirstRow(int row);
    bool RowShown(int index) const noexcept;
    int EdgeStep(int shownRow) const noexcept;
    void WatchEdge(unsigned y);
    int Width() const;
    int Height() const;
    void DrawRowTo(HDC target, int index);
    void DrawRowIcon(int index, int x, int y);
    void DrawBody(int left, int width);
    class StripPass;
    void Tell(LaunchMenuCode code, int row, int target = -1, bool handBack = false, bool elevated = false);
    void OpenCommandMenu();
    void StartDrag(unsigned x, unsigned y, int row);
    void EndDrag();
    void CancelDrag();

    MenuGeometry geometry_;
    int selectedIndex_ = 0;
    int firstRow_ = 0;
    int visibleLimit_ = 0;
    bool edgeTimer_ = false;
    UniqueMemoryDc rowDc_;
    UniqueBitmap rowBitmap_;  // RowBitmap: W x 20, kept selected in rowDc_
    HGDIOBJ rowDcOriginalBitmap_ = nullptr;
    HGDIOBJ rowDcOriginalFont_ = nullptr;
    int rowBitmapWidth_ = 0;
    int rowBitmapHeight_ = 0;
    // The two body gradients (from x 20 and from x 40) for the current width,
    // painted once: rows 0-19 and 20-39.
    UniqueMemoryDc bodyDc_;
    UniqueBitmap bodyBitmap_;
    HGDIOBJ bodyDcOriginalBitmap_ = nullptr;
    HDC stripDc_ = nullptr;  // the icon strip, selected for one painting pass
    bool showIcons_ = false;
    bool dragging_ = false;
    int dragStartX_ = 0;
    int dragStartY_ = 0;
    int dragSourceIndex_ = -1;  // -1 while the left button is up
    bool releasingCapture_ = false;
    UniqueImageList dragImages_;
    int defaultIndex_ = -1;
    std::vector<MenuRow> items_;
    TypedBytes typedBytes_;

    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueBrush backgroundBrush_, leftNormalBrush_, leftSelectedBrush_, iconColumnBrush_, frameFillBrush_;
    UniquePen framePen_;
};

// The one launch menu, made by CreateLaunchMenu.
extern std::unique_ptr<TvlcrLaunchMenu> LaunchMenu;

// Gives the keyboard focus to the launch menu, if there is one.
void FocusLaunchMenu();
