#include <utility>

#include "core/LaunchList.h"
#include "menu/LaunchMenu.h"
#include "platform/ModulePath.h"
#include "res/ResourceIds.h"

namespace {

HCURSOR DragCursor()
{
    // A resource cursor is shared: the system keeps it for the program's life.
    static const HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(VLCR_DRAG_CURSOR));
    return cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace

void TvlcrLaunchMenu::KeyDown(WPARAM key)
{
    switch (key) {
    case VK_UP:
        SetSelectedIndex(RowAbove(selectedIndex_, RowCount()));
        break;
    case VK_DOWN:
        SetSelectedIndex(RowBelow(selectedIndex_, RowCount()));
        break;
    case VK_RETURN:
        Tell(kLmnRowChosen, selectedIndex_);
        break;
    case VK_ESCAPE:
        Tell(kLmnClosed, selectedIndex_, -1, true);
        break;
    case VK_APPS:
        OpenCommandMenu();
        break;
    default:
        break;
    }
}

void TvlcrLaunchMenu::KeyPress(char typed)
{
    const std::optional<char> single = typedBytes_.Take(static_cast<unsigned char>(typed), IsAnsiLeadByte);
    // The lists are absent while the menu is hidden in memory-saving mode.
    if (!single || !LaunchListsPresent())
        return;
    const int row = FindShortcutRow(items_, LaunchLists->ShortCutList, *single);
    if (row >= 0)
        Tell(kLmnRowChosen, row);
}

int TvlcrLaunchMenu::RowAtPoint(unsigned y) const { return ::RowAtPoint(y, Height()); }

void TvlcrLaunchMenu::HandleMouseMove(unsigned x, unsigned y, bool left)
{
    const int row = RowAtPoint(y);
    if (left) {
        if (dragging_) {
            // The image follows the pointer outside the control too, where
            // the message's halves stand for negative positions.
            ImageList_DragMove(static_cast<short>(x), static_cast<short>(y));
        } else if (IsItemRow(dragSourceIndex_, RowCount()) &&
                   PastDragThreshold(dragStartX_, dragStartY_, static_cast<int>(x), static_cast<int>(y))) {
            StartDrag(x, y, row);
        }
    }
    if (row != selectedIndex_ && !dragging_)
        SetSelectedIndex(row);
}

void TvlcrLaunchMenu::HandleMouseDown(unsigned x, unsigned y)
{
    HandleMouseMove(x, y, false);
    dragStartX_ = static_cast<int>(x);
    dragStartY_ = static_cast<int>(y);
    dragSourceIndex_ = selectedIndex_;
}

void TvlcrLaunchMenu::HandleMouseUp(unsigned x, unsigned y, bool right)
{
    const int row = RowAtPoint(y);
    const int source = std::exchange(dragSourceIndex_, -1);
    if (row < 0 || x >= static_cast<unsigned>(Width())) {
        if (dragging_)
            EndDrag();  // dropped outside: nothing moves
        else
            Tell(kLmnClosed, selectedIndex_);
        return;
    }
    if (dragging_) {
        EndDrag();
        if (row < RowCount() - 2 && !right)
            Tell(kLmnReordered, source, row);
        return;
    }
    SetSelectedIndex(row);
    Tell(kLmnRowChosen, selectedIndex_);
}

void TvlcrLaunchMenu::StartDrag(unsigned x, unsigned y, int row)
{
    const int w = Width();
    // The image is the source row as it looks on screen.
    UniqueBitmap snapshot;
    {
        WindowDc canvas(Handle());
        snapshot.reset(CreateCompatibleBitmap(canvas.get(), w, kRowHeight));
        UniqueMemoryDc memory(CreateCompatibleDC(canvas.get()));
        SelectGuard select(memory.get(), snapshot.get());
        const RECT all{0, 0, w, kRowHeight};
        FillRect(memory.get(), &all, backgroundBrush_.get());
        BitBlt(memory.get(), 0, 0, w - 1, kRowHeight, canvas.get(), 0, RowTop(dragSourceIndex_), SRCCOPY);
    }
    dragImages_.reset(ImageList_Create(w, kRowHeight, ILC_COLOR32, 1, 1));
    ImageList_Add(dragImages_.get(), snapshot.get(), nullptr);
    snapshot.reset();
    ImageList_BeginDrag(dragImages_.get(), 0, static_cast<int>(x), static_cast<int>(y) - kRowHeight * row);
    ImageList_DragEnter(Handle(), static_cast<int>(x), static_cast<int>(y));
    dragging_ = true;
    SetCursor(DragCursor());
}

void TvlcrLaunchMenu::EndDrag()
{
    dragging_ = false;
    ImageList_DragLeave(Handle());
    ImageList_EndDrag();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void TvlcrLaunchMenu::CancelDrag()
{
    // The capture was taken away (another window, a system key): the drag
    // ends where it is and nothing moves.
    EndDrag();
    dragSourceIndex_ = -1;
}
