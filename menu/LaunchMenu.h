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
#include "menu/MenuRowPainter.h"
#include "platform/Accessible.h"
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
    kLmnRowsChanged,         // a search changed the rows: the window is sized anew
};
struct LaunchMenuNotice {
    NMHDR header;
    int row = -1;
    int target = -1;
    bool handBack = false;
    bool elevated = false;
};

class TvlcrLaunchMenu final : public Window, private AccessibleSource {
public:
    // A child of `parent` at (0, -2), white, visible and enabled; no icons.
    explicit TvlcrLaunchMenu(HWND parent);
    ~TvlcrLaunchMenu() override;

    // Reads Launch.ini again and makes the rows from it; a search ends; the
    // selection is left as it was, even beyond the last row.
    void RebuildItems();
    int RowCount() const noexcept { return static_cast<int>(items_.size()); }
    const std::vector<MenuRow>& Items() const noexcept { return items_; }
    // The item of the double-click command, or -1.
    int DefaultIndex() const noexcept { return defaultIndex_; }

    int SelectedIndex() const noexcept { return selectedIndex_; }
    // The Ref of the selected row, or kNoMatchRef when none is selected.
    std::int32_t SelectedRef() const noexcept;

    // Typing to find (LaunchMenuSearch.cpp): the rows are what was typed,
    // the items it finds, or the no-match row, then cancel and quit.
    bool Searching() const noexcept { return !typed_.empty(); }
    const std::string& SearchText() const noexcept { return typed_; }
    void EndSearch();

    // A row whose target is a folder: its items open as a menu beside it.
    bool IsFolderRow(int index) const;
    // The item's folder is known now (an answer from the network).
    void SetItemFolder(int item, bool folder);
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
    // The row under the pointer has rested for the system's menu delay.
    void HandleHoverTimer();
    // The pointer went into the folder menu opened from `row`: that row
    // stays selected and no other opens.
    void KeepFolderOpen(int row);
    int RowAtPoint(unsigned y) const;
    void HandleMouseMove(unsigned x, unsigned y, bool left);
    void HandleMouseDown(unsigned x, unsigned y);
    // `elevated`: Ctrl and Shift were held, the item is to run as administrator.
    void HandleMouseUp(unsigned x, unsigned y, bool right, bool elevated = false);

    void HandleWheel(int delta);
    void HandleEdgeTimer();

    // Screen readers (LaunchMenuAccessible.cpp): the menu is announced when
    // it shows and hides, and each row as the selection reaches it; the row
    // again when the user is back from a folder menu.
    void AnnounceShown();
    void AnnounceHidden();
    void AnnounceSelection();

    bool Dragging() const noexcept { return dragging_; }
    int DragSourceIndex() const noexcept { return dragSourceIndex_; }
    HIMAGELIST DragImages() const noexcept { return dragImages_.get(); }

private:
    HWND AccessibleWindow() const override { return Handle(); }
    int AccessibleChildCount() const override { return RowCount(); }
    AccessibleFacts DescribeAccessible(int child) const override;
    bool DoAccessibleDefault(int child) override;
    int AccessibleFocus() const override;
    HWND AccessibleFocusHolder() const override;
    // The row a screen reader is told has the focus: the selected one, or
    // the row that says a search found nothing; -1 for none.
    int FocusedRow() const noexcept;
    int AccessibleChildAt(POINT screen) const override;
    // An answer from the network: the item's folder state, icon cell and rows.
    void TakeNetworkAnswer(LPARAM answer);
    // An icon extracted in the background: drawn in the strip, its rows anew.
    void TakeExtractedIcon(LPARAM answer);
    static constexpr UINT kWmAccessibleLaunch = WM_APP + 0x44;
    static constexpr UINT_PTR kEdgeTimer = 1;
    static constexpr UINT_PTR kHoverTimer = 2;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Resize();
    void SetFirstRow(int row);
    void MoveSelection(int row, int step);
    void Search(std::string typed);
    void FoldForSearch();
    void OpenFolderOfRow(int row, bool byKeyboard);
    void WatchHover(int row);
    bool FolderOpenFor(int row) const;
    bool RowShown(int index) const noexcept;
    int EdgeStep(int shownRow) const noexcept;
    void WatchEdge(unsigned y);
    int Width() const;
    int Height() const;
    void DrawRowTo(HDC target, int index);
    void DrawRowIcon(HDC rowDc, int index, int x, int y);
    class StripPass;
    void Tell(LaunchMenuCode code, int row, int target = -1, bool handBack = false, bool elevated = false);
    void OpenCommandMenu();
    void StartDrag(unsigned x, unsigned y, int row);
    void EndDrag();
    void CancelDrag();

    MenuGeometry geometry_;
    MenuRowPainter painter_;
    int selectedIndex_ = 0;
    int firstRow_ = 0;
    int visibleLimit_ = 0;
    bool edgeTimer_ = false;
    int hoverRow_ = -1;  // the row the pointer came onto last
    bool hoverPending_ = false;
    HDC stripDc_ = nullptr;  // the icon strip, selected for one painting pass
    bool showIcons_ = false;
    bool dragging_ = false;
    int dragStartX_ = 0;
    int dragStartY_ = 0;
    int dragSourceIndex_ = -1;  // -1 while the left button is up
    bool releasingCapture_ = false;
    UniqueImageList dragImages_;
    int defaultIndex_ = -1;
    std::vector<MenuRow> items_;     // the rows shown
    std::vector<MenuRow> listRows_;  // the list's rows, with or without a search
    std::vector<bool> itemFolders_;  // by item: its target is a folder
    TypedBytes typedBytes_;
    std::string typed_;
    int selectedBeforeSearch_ = 0;
    // The names and target file names, folded for the search once it starts.
    std::vector<std::wstring> foldedNames_, foldedFiles_;
    bool announced_ = false;  // a popup start was told and no end yet
    AccessibleAnswer accessible_{*this};
};

// The one launch menu, made by CreateLaunchMenu.
extern std::unique_ptr<TvlcrLaunchMenu> LaunchMenu;

// Gives the keyboard focus to the launch menu, if there is one.
void FocusLaunchMenu();
