#include <utility>

#include "core/store/ItemPaths.h"
#include "core/store/LaunchList.h"
#include "menu/FolderMenu.h"
#include "menu/LaunchMenu.h"
#include "platform/ShellHelpers.h"
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
    // The keys belong to the deepest folder menu while one is open.
    if (TvlcrFolderMenu* folder = DeepestFolderMenu()) {
        folder->KeyDown(key);
        return;
    }
    switch (key) {
    case VK_UP:
        MoveSelection(RowAbove(selectedIndex_, RowCount()), -1);
        break;
    case VK_DOWN:
        MoveSelection(RowBelow(selectedIndex_, RowCount()), 1);
        break;
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT: {
        // A row that is no choice is passed over away from the list's end
        // the key went towards.
        const PageKey page = *PageKeyFor(static_cast<unsigned>(key));
        const bool up = page == PageKey::Home || page == PageKey::PageUp;
        MoveSelection(RowForPageKey(page, selectedIndex_, RowCount(), VisibleRows()), up ? 1 : -1);
        break;
    }
    case VK_RIGHT:
        if (IsFolderRow(selectedIndex_))
            OpenFolderOfRow(selectedIndex_, true);
        break;
    case VK_RETURN:
        // Ctrl+Shift+Enter: as administrator. In a search, its own rows
        // and no selection are no choice.
        if (!Searching() || IsChoosableRef(SelectedRef()))
            Tell(kLmnRowChosen, selectedIndex_, -1, false,
                 GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0);
        break;
    case VK_ESCAPE:
        // The first Escape clears a search, the next one closes the menu.
        if (Searching())
            EndSearch();
        else
            Tell(kLmnClosed, selectedIndex_, -1, true);
        break;
    case VK_APPS:
        OpenCommandMenu();
        break;
    default:
        // A letter or digit typed while Ctrl is down, as Sticky Keys leaves
        // it latched or locked after the double press: the character
        // arrives as a control character, or not at all, so the key stands
        // for what it would have typed.
        if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 &&
            ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
            KeyPress(static_cast<char>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key));
        break;
    }
}

void TvlcrLaunchMenu::MoveSelection(int row, int step)
{
    // The search's text row and the no-match row are passed over; with
    // nothing else to go to the selection stays.
    for (int tries = 0; tries < RowCount() && row >= 0 && row < RowCount(); ++tries) {
        if (IsChoosableRef(items_[static_cast<std::size_t>(row)].Ref)) {
            SetSelectedIndex(row);
            return;
        }
        row = step < 0 ? RowAbove(row, RowCount()) : RowBelow(row, RowCount());
    }
}

void TvlcrLaunchMenu::KeyPress(char typed)
{
    if (FolderMenusOpen())
        return;
    if (typed == '\b') {
        // Backspace shortens the search; emptied, the whole list is back.
        if (Searching())
            Search(typed_.substr(0, typed_.size() - 1));
        return;
    }
    const std::optional<char> single = typedBytes_.Take(static_cast<unsigned char>(typed), IsAnsiLeadByte);
    // The lists are absent while the menu is hidden in memory-saving mode.
    if (!single || !LaunchListsPresent())
        return;
    // A shortcut letter launches its item at once, unless a search runs:
    // then every character is part of what is typed.
    if (!Searching()) {
        const int row = FindShortcutRow(items_, LaunchLists->ShortCutList, *single);
        if (row >= 0) {
            Tell(kLmnRowChosen, row);
            return;
        }
    }
    const auto code = static_cast<unsigned char>(*single);
    // Control characters (Enter, Escape, Tab) are no text, and a search
    // does not start with a space.
    if (code < 0x20 || code == 0x7F || (code == ' ' && !Searching()))
        return;
    Search(typed_ + *single);
}

void TvlcrLaunchMenu::OpenFolderOfRow(int row, bool byKeyboard)
{
    if (!IsFolderRow(row) || !LaunchListsPresent())
        return;
    const std::int32_t ref = items_[static_cast<std::size_t>(row)].Ref;
    const std::wstring folder = Widen(ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(ref)]));
    TvlcrFolderMenu* open = FolderMenuAt(0);
    if (open && open->OpenerRow() == row && open->Folder() == folder) {
        if (byKeyboard && open->ReadState() == TvlcrFolderMenu::State::Listed && !open->Entries().empty())
            open->SetSelectedIndex(0);
        return;
    }
    RECT r{0, geometry_.RowTop(row - firstRow_), Width(), geometry_.RowTop(row - firstRow_) + geometry_.rowHeight};
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    OpenFolderMenu(Handle(), folder, 0, r, row, byKeyboard, geometry_);
}

void TvlcrLaunchMenu::WatchHover(int row)
{
    // Resting on a folder row opens its menu; resting on another row closes
    // the one open.
    KillTimer(Handle(), kHoverTimer);
    hoverPending_ = false;
    hoverRow_ = row;
    if (!IsFolderRow(row) && !FolderMenusOpen())
        return;
    UINT delay = 400;
    SystemParametersInfoA(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    hoverPending_ = SetTimer(Handle(), kHoverTimer, delay, nullptr) != 0;
}

void TvlcrLaunchMenu::HandleHoverTimer()
{
    KillTimer(Handle(), kHoverTimer);
    hoverPending_ = false;
    if (dragging_)
        return;
    if (IsFolderRow(hoverRow_)) {
        OpenFolderOfRow(hoverRow_, false);
    } else if (FolderMenusOpen()) {
        CloseFolderMenus();
        AnnounceSelection();  // the row under the pointer has the focus again
    }
}

void TvlcrLaunchMenu::KeepFolderOpen(int row)
{
    KillTimer(Handle(), kHoverTimer);
    hoverPending_ = false;
    hoverRow_ = row;
    if (row != selectedIndex_)
        SetSelectedIndex(row);
}

namespace {
constexpr UINT kEdgeTimerMs = 80;
}  // namespace

int TvlcrLaunchMenu::RowAtPoint(unsigned y) const
{
    const int shown = ::RowAtPoint(y, Height(), geometry_);
    return shown < 0 ? shown : firstRow_ + shown;
}

void TvlcrLaunchMenu::HandleWheel(int delta)
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL || lines == 0)
        lines = static_cast<UINT>(VisibleRows());
    ScrollBy(-delta * static_cast<int>(lines) / WHEEL_DELTA);
    // The row under the pointer is the selected one, as after a move.
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(Handle(), &p);
    RECT client{};
    GetClientRect(Handle(), &client);
    if (PtInRect(&client, p) && !dragging_)
        SetSelectedIndex(RowAtPoint(static_cast<unsigned>(p.y)));
}

int TvlcrLaunchMenu::EdgeStep(int shown) const noexcept
{
    // The pointer held on the first or last row shown scrolls the list on,
    // while there is more of it that way.
    if (shown == 0 && firstRow_ > 0)
        return -1;
    if (shown == VisibleRows() - 1 && firstRow_ + VisibleRows() < RowCount())
        return 1;
    return 0;
}

void TvlcrLaunchMenu::WatchEdge(unsigned y)
{
    if (EdgeStep(::RowAtPoint(y, Height(), geometry_)) != 0 && !edgeTimer_)
        edgeTimer_ = SetTimer(Handle(), kEdgeTimer, kEdgeTimerMs, nullptr) != 0;
}

void TvlcrLaunchMenu::HandleEdgeTimer()
{
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(Handle(), &p);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int shown = PtInRect(&client, p) ? ::RowAtPoint(static_cast<unsigned>(p.y), Height(), geometry_) : -1;
    const int step = EdgeStep(shown);
    if (step == 0) {
        KillTimer(Handle(), kEdgeTimer);
        edgeTimer_ = false;
        return;
    }
    ScrollBy(step);
    if (!dragging_)
        SetSelectedIndex(firstRow_ + shown);
}

void TvlcrLaunchMenu::HandleMouseMove(unsigned x, unsigned y, bool left)
{
    if (VisibleRows() < RowCount())
        WatchEdge(y);
    const int row = RowAtPoint(y);
    if (left) {
        if (dragging_) {
            // The image follows the pointer outside the control too, where
            // the message's halves stand for negative positions.
            ImageList_DragMove(static_cast<short>(x), static_cast<short>(y));
        } else if (!Searching() && IsItemRow(dragSourceIndex_, RowCount()) &&
                   PastDragThreshold(dragStartX_, dragStartY_, static_cast<int>(x), static_cast<int>(y),
                                     geometry_.Px(kDragThreshold))) {
            StartDrag(x, y, row);
        }
    }
    if (dragging_)
        return;
    if (row != selectedIndex_)
        SetSelectedIndex(row);
    // The wait starts when the pointer comes onto a row, and on a folder row
    // whose menu is not open (the keyboard may have closed it meanwhile).
    if (row != hoverRow_ || (!hoverPending_ && IsFolderRow(row) && !FolderOpenFor(row)))
        WatchHover(row);
}

bool TvlcrLaunchMenu::FolderOpenFor(int row) const
{
    const TvlcrFolderMenu* open = FolderMenuAt(0);
    return open && open->OpenerRow() == row;
}

void TvlcrLaunchMenu::HandleMouseDown(unsigned x, unsigned y)
{
    HandleMouseMove(x, y, false);
    dragStartX_ = static_cast<int>(x);
    dragStartY_ = static_cast<int>(y);
    dragSourceIndex_ = selectedIndex_;
}

void TvlcrLaunchMenu::HandleMouseUp(unsigned x, unsigned y, bool right, bool elevated)
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
    if (IsChoosableRef(SelectedRef()))
        Tell(kLmnRowChosen, selectedIndex_, -1, false, elevated);
}

void TvlcrLaunchMenu::StartDrag(unsigned x, unsigned y, int row)
{
    const int w = Width();
    const int rowHeight = geometry_.rowHeight;
    // The image is the source row as it looks on screen.
    UniqueBitmap snapshot;
    {
        WindowDc canvas(Handle());
        snapshot.reset(CreateCompatibleBitmap(canvas.get(), w, rowHeight));
        UniqueMemoryDc memory(CreateCompatibleDC(canvas.get()));
        SelectGuard select(memory.get(), snapshot.get());
        const RECT all{0, 0, w, rowHeight};
        FillRect(memory.get(), &all, painter_.BackgroundBrush());
        BitBlt(memory.get(), 0, 0, w - 1, rowHeight, canvas.get(), 0, geometry_.RowTop(dragSourceIndex_ - firstRow_),
               SRCCOPY);
    }
    dragImages_.reset(ImageList_Create(w, rowHeight, ILC_COLOR32, 1, 1));
    ImageList_Add(dragImages_.get(), snapshot.get(), nullptr);
    snapshot.reset();
    ImageList_BeginDrag(dragImages_.get(), 0, static_cast<int>(x), static_cast<int>(y) - rowHeight * (row - firstRow_));
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
