#include "menu/LaunchMenu.h"

#include <imm.h>

#include <algorithm>
#include <string>

#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/FolderMenu.h"
#include "menu/IconStrip.h"
#include "menu/NetworkItems.h"
#include "platform/Dpi.h"
#include "platform/WindowHelpers.h"

std::unique_ptr<TvlcrLaunchMenu> LaunchMenu;

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    // Locale-aware: a byte-wise fold would also fold the trail bytes of
    // double-byte characters, which overlap the ASCII letters.
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

const std::string* ShortCutOf(std::int32_t ref)
{
    if (ref < 0 || !LaunchListsPresent() || ref >= LaunchItemCount())
        return nullptr;
    return &LaunchLists->ShortCutList[static_cast<std::size_t>(ref)];
}

}  // namespace

// While rows are painted in a batch the strip stays selected in one DC,
// instead of one DC per icon. It is released at once after: the strip may be
// replaced, and a selected bitmap cannot be deleted.
class TvlcrLaunchMenu::StripPass {
public:
    explicit StripPass(TvlcrLaunchMenu& menu) : menu_(menu)
    {
        if (!IconStrip || !menu.showIcons_ || menu.stripDc_)
            return;
        dc_.reset(CreateCompatibleDC(menu.painter_.RowDc()));
        old_ = SelectObject(dc_.get(), IconStrip);
        menu.stripDc_ = dc_.get();
    }
    ~StripPass()
    {
        if (!dc_)
            return;
        SelectObject(dc_.get(), old_);
        menu_.stripDc_ = nullptr;
    }
    StripPass(const StripPass&) = delete;
    StripPass& operator=(const StripPass&) = delete;

private:
    TvlcrLaunchMenu& menu_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

namespace {
MenuGeometry GeometryOf(HWND parent)
{
    const int dpi = WindowDpi(parent);
    return MenuGeometryFor(dpi, SmallIconSize(dpi));
}
}  // namespace

TvlcrLaunchMenu::TvlcrLaunchMenu(HWND parent) : geometry_(GeometryOf(parent)), painter_(geometry_)
{
    Create({.name = kLaunchMenuClass}, 0, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
           -geometry_.rowsTop, geometry_.width, geometry_.ControlHeight(0), parent, nullptr);
    // Shortcut letters must reach the menu even while the user's input
    // method is on.
    ImmAssociateContext(Handle(), nullptr);
}

TvlcrLaunchMenu::~TvlcrLaunchMenu()
{
    CloseFolderMenus();
    FreeClosedFolderMenus();
    if (dragging_)
        EndDrag();
    // Answers already posted would go with the window, their payload lost.
    MSG queued;
    while (Handle() && PeekMessageW(&queued, Handle(), kWmItemInfo, kWmItemInfo, PM_REMOVE))
        DropItemInfo(queued.lParam);
    while (Handle() && PeekMessageW(&queued, Handle(), kWmStripIcon, kWmStripIcon, PM_REMOVE))
        DropStripIcon(queued.lParam);
    DestroyHandle();  // its timers go with it
}

LRESULT TvlcrLaunchMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const unsigned x = LOWORD(lParam);
    const unsigned y = HIWORD(lParam);
    if (const auto painted = PaintMessage(message, wParam))
        return *painted;
    switch (message) {
    case WM_SIZE:
        Default(message, wParam, lParam);
        Resize();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;  // nothing else acts on the key
    case WM_CHAR:
        if (wParam <= 0xFF)  // a pair packed in one message is no letter
            KeyPress(static_cast<char>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        HandleMouseMove(x, y, (wParam & MK_LBUTTON) != 0);
        break;
    case WM_LBUTTONDOWN:
        HandleMouseDown(x, y);
        SetCapture(Handle());  // moves and the release arrive even outside
        break;
    case WM_LBUTTONUP:
        // The capture goes first: a modal box that the release may open must
        // get the mouse.
        releasingCapture_ = true;
        if (GetCapture() == Handle())
            ReleaseCapture();
        releasingCapture_ = false;
        HandleMouseUp(x, y, (wParam & MK_RBUTTON) != 0,
                      (wParam & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT));
        break;
    case WM_MOUSEWHEEL:
        HandleWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kHoverTimer)
            HandleHoverTimer();
        else
            HandleEdgeTimer();
        return 0;
    case kWmItemInfo:
        TakeNetworkAnswer(lParam);
        return 0;
    case kWmStripIcon:
        TakeExtractedIcon(lParam);
        return 0;
    case kWmFreeFolderMenus:
        FreeClosedFolderMenus();
        return 0;
    case kWmKeepFolderOpen:
        KeepFolderOpen(static_cast<int>(wParam));
        return 0;
    case kWmFolderClosed:
        AnnounceSelection();
        return 0;
    case kWmFolderLaunched:
        // The parent hands the foreground back, as after Escape.
        Tell(kLmnClosed, selectedIndex_, -1, true);
        return 0;
    case kWmAccessibleLaunch:
        if (static_cast<int>(wParam) < RowCount() && IsChoosableRef(items_[wParam].Ref))
            Tell(kLmnRowChosen, static_cast<int>(wParam));
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = accessible_.Answer(wParam, lParam))
            return object;
        break;
    case WM_RBUTTONUP:
        if (!(wParam & MK_LBUTTON))
            OpenCommandMenu();
        break;
    case WM_CAPTURECHANGED:
        if (!releasingCapture_ && dragging_)
            CancelDrag();
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

int TvlcrLaunchMenu::Width() const
{
    RECT r{};
    if (Handle())
        GetClientRect(Handle(), &r);
    return r.right;
}

int TvlcrLaunchMenu::Height() const
{
    RECT r{};
    if (Handle())
        GetClientRect(Handle(), &r);
    return r.bottom;
}

void TvlcrLaunchMenu::SetGeometry(const MenuGeometry& geometry)
{
    if (geometry == geometry_)
        return;
    geometry_ = geometry;
    painter_.SetGeometry(geometry);
}

void TvlcrLaunchMenu::Resize()
{
    if (Width() <= 0)
        return;
    painter_.SetWidth(Width());
    // A hidden control shows nothing; it is painted in full when exposed.
    if (IsWindowVisible(Handle()))
        DrawAllRows();
}

void TvlcrLaunchMenu::RebuildItems()
{
    // The rows always show what Launch.ini holds now.
    if (!LaunchListsPresent())
        CreateLaunchLists();
    LoadLaunchList();
    CloseFolderMenus();
    typed_.clear();
    foldedNames_.clear();
    foldedFiles_.clear();
    listRows_ = BuildMenuRows(LaunchLists->NameList);
    items_ = listRows_;
    itemFolders_ = FindItemFolders(Handle(), IconCellSize);
    defaultIndex_ = FindDefaultIndex(LaunchLists->TargetList, DblClickCommand, SameTextIgnoringCase);
    SetFirstRow(firstRow_);
}

int TvlcrLaunchMenu::VisibleRows() const noexcept
{
    return visibleLimit_ > 0 && visibleLimit_ < RowCount() ? visibleLimit_ : RowCount();
}

void TvlcrLaunchMenu::LimitVisibleRows(int rows)
{
    visibleLimit_ = rows > 0 ? rows : 0;
    SetFirstRow(firstRow_);
}

bool TvlcrLaunchMenu::RowShown(int index) const noexcept
{
    return index >= firstRow_ && index < firstRow_ + VisibleRows();
}

void TvlcrLaunchMenu::SetFirstRow(int row)
{
    const int last = RowCount() - VisibleRows();
    firstRow_ = row < 0 ? 0 : row > last ? last : row;
}

bool TvlcrLaunchMenu::ScrollIntoView(int row)
{
    if (row < 0 || row >= RowCount() || RowShown(row))
        return false;
    const int before = firstRow_;
    SetFirstRow(row < firstRow_ ? row : row - VisibleRows() + 1);
    if (firstRow_ == before)
        return false;
    if (Handle() && IsWindowVisible(Handle()))
        DrawAllRows();
    return true;
}

void TvlcrLaunchMenu::ScrollBy(int rows)
{
    const int before = firstRow_;
    SetFirstRow(firstRow_ + rows);
    if (firstRow_ != before && Handle() && IsWindowVisible(Handle()))
        DrawAllRows();
}

void TvlcrLaunchMenu::SetSelectedIndex(int index)
{
    const int old = selectedIndex_;
    selectedIndex_ = ClampSelectedIndex(index, RowCount());
    if (old != selectedIndex_ && ScrollIntoView(selectedIndex_)) {
        AnnounceSelection();
        return;  // every row shown is drawn anew
    }
    if (Handle() && IsWindowVisible(Handle()) && old != selectedIndex_) {
        WindowDc dc(Handle());
        StripPass icons(*this);
        DrawRowTo(dc.get(), old);
        DrawRowTo(dc.get(), selectedIndex_);
    }
    if (old != selectedIndex_)
        AnnounceSelection();
}

void TvlcrLaunchMenu::SetShowIcons(bool show) noexcept
{
    if (showIcons_ != show)
        showIcons_ = show;
}

void TvlcrLaunchMenu::DrawRow(int index)
{
    if (!Handle() || !RowShown(index))
        return;
    WindowDc dc(Handle());
    DrawRowTo(dc.get(), index);
}

void TvlcrLaunchMenu::DrawAllRows()
{
    if (!Handle())
        return;
    WindowDc dc(Handle());
    StripPass icons(*this);
    for (int i = firstRow_; i < firstRow_ + VisibleRows(); ++i) {
        // Rows that the DC clips away entirely (off screen, hidden) are not
        // rendered: they would show nothing.
        const int top = geometry_.RowTop(i - firstRow_);
        const RECT r{0, top, painter_.Width(), top + geometry_.rowHeight};
        if (RectVisible(dc.get(), &r))
            DrawRowTo(dc.get(), i);
    }
}

void TvlcrLaunchMenu::PaintContent(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    // The two pixels above row 0 and anything below the last row keep the
    // white background.
    const RECT above{0, 0, client.right, geometry_.rowsTop};
    FillRect(dc, &above, painter_.BackgroundBrush());
    const RECT below{0, geometry_.RowTop(VisibleRows()), client.right, client.bottom};
    if (below.bottom > below.top)
        FillRect(dc, &below, painter_.BackgroundBrush());
    StripPass icons(*this);
    for (int i = firstRow_; i < firstRow_ + VisibleRows(); ++i) {
        const int top = geometry_.RowTop(i - firstRow_);
        const RECT r{0, top, client.right, top + geometry_.rowHeight};
        if (RectVisible(dc, &r))
            DrawRowTo(dc, i);
    }
}

void TvlcrLaunchMenu::DrawRowTo(HDC target, int index)
{
    if (!RowShown(index) || !painter_.Ready())
        return;
    const MenuRow& row = items_[static_cast<std::size_t>(index)];
    RowContent content;
    content.selected = index == selectedIndex_;
    content.itemRow = row.Ref >= 0;
    content.greyed = row.Ref == kNoMatchRef;
    content.bold = row.Ref >= 0 && row.Ref == defaultIndex_;
    content.arrow = IsFolderRow(index);
    if (const std::string* key = ShortCutOf(row.Ref); key && *key != NoShortCut)
        content.letter = *key;
    content.caption = row.Caption;
    painter_.Paint(target, geometry_.RowTop(index - firstRow_), content, showIcons_,
                   [this, index](HDC rowDc, int x, int y) { DrawRowIcon(rowDc, index, x, y); });
}

void TvlcrLaunchMenu::DrawRowIcon(HDC rowDc, int index, int x, int y)
{
    if (!IconStrip)
        return;
    // The strip's cells follow the list: the items, then cancel and quit.
    const std::int32_t ref = items_[static_cast<std::size_t>(index)].Ref;
    const int items = static_cast<int>(listRows_.size()) - 2;
    const int cellIndex = ref >= 0 ? ref : ref == kCancelRef ? items : ref == kQuitRef ? items + 1 : -1;
    if (cellIndex < 0)
        return;
    if (!IconCellReady(cellIndex)) {
        // Its icon is still being extracted: the generic one of its kind.
        const int size = geometry_.iconSize;
        DrawIconEx(rowDc, x, y, KindIcon(ref, IsFolderRow(index), size), size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    StripPass icons(*this);
    if (!stripDc_)
        return;
    const int size = geometry_.iconSize;
    if (IconCellSize != size)
        return;  // a strip of another DPI until it is built anew
    const int cell = size * cellIndex;
    // The mask punches the icon's shape out, the image fills it in: the
    // surroundings stay as the row shows them.
    BitBlt(rowDc, x, y, size, size, stripDc_, cell, size, SRCAND);
    BitBlt(rowDc, x, y, size, size, stripDc_, cell, 0, SRCPAINT);
}

void TvlcrLaunchMenu::Tell(LaunchMenuCode code, int row, int target, bool handBack, bool elevated)
{
    LaunchMenuNotice notice;
    notice.header = NMHDR{Handle(), 0, code};
    notice.row = row;
    notice.target = target;
    notice.handBack = handBack;
    notice.elevated = elevated;
    SendMessageA(GetParent(Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

void TvlcrLaunchMenu::OpenCommandMenu()
{
    CloseFolderMenus();
    Tell(kLmnCommandMenu, selectedIndex_);
}

std::int32_t TvlcrLaunchMenu::SelectedRef() const noexcept
{
    return selectedIndex_ >= 0 && selectedIndex_ < RowCount() ? items_[static_cast<std::size_t>(selectedIndex_)].Ref
                                                               : kNoMatchRef;
}

bool TvlcrLaunchMenu::IsFolderRow(int index) const
{
    if (index < 0 || index >= RowCount())
        return false;
    const std::int32_t ref = items_[static_cast<std::size_t>(index)].Ref;
    return ref >= 0 && static_cast<std::size_t>(ref) < itemFolders_.size() && itemFolders_[static_cast<std::size_t>(ref)];
}

void TvlcrLaunchMenu::SetItemFolder(int item, bool folder)
{
    if (item < 0 || static_cast<std::size_t>(item) >= itemFolders_.size() ||
        itemFolders_[static_cast<std::size_t>(item)] == folder)
        return;
    itemFolders_[static_cast<std::size_t>(item)] = folder;
    for (int i = 0; i < RowCount(); ++i)
        if (items_[static_cast<std::size_t>(i)].Ref == item && IsWindowVisible(Handle()))
            DrawRow(i);
}

void TvlcrLaunchMenu::TakeExtractedIcon(LPARAM answer)
{
    const std::vector<int> drawn = TakeStripIcon(answer);
    if (drawn.empty() || !IsWindowVisible(Handle()))
        return;
    // The rows whose icons came, where they are shown.
    for (int row = FirstRow(); row < FirstRow() + VisibleRows(); ++row)
        if (std::find(drawn.begin(), drawn.end(), items_[static_cast<std::size_t>(row)].Ref) != drawn.end())
            DrawRow(row);
}

void TvlcrLaunchMenu::TakeNetworkAnswer(LPARAM answer)
{
    bool iconsCame = false;
    for (const ItemAnswer& said : TakeItemInfo(answer)) {
        SetItemFolder(said.item, said.folder);
        if (!said.icon || !RedrawIconCell(said.item))
            continue;
        iconsCame = true;
        for (int row = 0; row < RowCount(); ++row)
            if (items_[static_cast<std::size_t>(row)].Ref == said.item)
                DrawRow(row);
    }
    if (iconsCame && Settings.ReloadItems)
        SaveIconStrip();
}

void FocusLaunchMenu()
{
    if (LaunchMenu && LaunchMenu->Handle())
        SetFocus(LaunchMenu->Handle());
}
