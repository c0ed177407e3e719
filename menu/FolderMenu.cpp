#include "menu/FolderMenu.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "menu/FolderReader.h"
#include "menu/MenuPlacement.h"
#include "platform/BackgroundJob.h"
#include "platform/Seams.h"
#include "platform/WindowCorners.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT_PTR kReadingTimer = 2;
// A folder not read by then shows that it is being read.
constexpr UINT kReadingShowMs = 200;
// A folder menu is never narrower than the launch menu nor wider than this
// (at 96 DPI): longer names are cut short.
constexpr int kMaxFolderMenuWidth = 420;

std::vector<std::unique_ptr<TvlcrFolderMenu>> Open;
std::vector<std::unique_ptr<TvlcrFolderMenu>> Closed;

struct Listing {
    FolderListing listing;
    int textWidth = 0;  // the widest shown name
};
struct RowIcon {
    int row = -1;
    UniqueIcon icon;
};

int WidestName(const std::vector<FolderEntry>& entries, const LOGFONTW& font)
{
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueFont made(CreateFontIndirectW(&font));
    SelectGuard selected(dc.get(), made.get());
    int widest = 0;
    for (const FolderEntry& e : entries) {
        SIZE size{};
        if (GetTextExtentPoint32W(dc.get(), e.shown.c_str(), static_cast<int>(e.shown.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

HICON GenericIcon(DWORD attributes)
{
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(L"x", attributes, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON))
        return nullptr;
    return info.hIcon;
}

int RowHeight(const MenuGeometry& g) { return g.rowHeight; }

}  // namespace

TvlcrFolderMenu::TvlcrFolderMenu(HWND launcher, std::wstring folder, int level, const RECT& row, bool byKeyboard,
                                 const MenuGeometry& geometry, bool leftward)
    : launcher_(launcher), launcherGeometry_(geometry), folder_(std::move(folder)), level_(level), row_(row), byKeyboard_(byKeyboard),
      leftward_(leftward), painter_(geometry)
{
    folderIcon_.reset(GenericIcon(FILE_ATTRIBUTE_DIRECTORY));
    fileIcon_.reset(GenericIcon(FILE_ATTRIBUTE_NORMAL));
    // Owned by the window that carries the launch menu, so that they go with
    // it and never take its activation.
    const HWND owner = GetAncestor(launcher, GA_ROOTOWNER);
    Create({.name = kFolderMenuClass}, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "", WS_POPUP | WS_BORDER,
           row.right, row.top, geometry.width, RowHeight(geometry), owner, nullptr);
    AskSmallRoundCorners(Handle());
    LOGFONTW font{};
    GetObjectW(painter_.WideFont(), sizeof font, &font);
    const HWND answerTo = Handle();
    const std::wstring path = folder_;
    RunInBackground([answerTo, path, font] {
        auto answer = std::make_unique<Listing>();
        answer->listing = ReadFolder(path);
        answer->textWidth = WidestName(answer->listing.entries, font);
        PostResult(answerTo, kWmFolderListing, std::move(answer));
    });
    SetTimer(Handle(), kReadingTimer, kReadingShowMs, nullptr);
}

TvlcrFolderMenu::~TvlcrFolderMenu()
{
    // A listing or an icon posted and not yet taken would go with the
    // window, its entries and icon never freed.
    MSG queued;
    while (Handle() && PeekMessageW(&queued, Handle(), kWmFolderListing, kWmFolderIcon, PM_REMOVE)) {
        if (queued.message == kWmFolderListing)
            TakeResult<Listing>(queued.lParam);
        else
            TakeResult<RowIcon>(queued.lParam);
    }
    DestroyHandle();
}

AccessibleFacts TvlcrFolderMenu::DescribeAccessible(int child) const
{
    AccessibleFacts facts;
    if (child == 0) {
        facts.role = ROLE_SYSTEM_MENUPOPUP;
        facts.name = TargetName();
        GetWindowRect(Handle(), &facts.screen);
        return facts;
    }
    const int index = child - 1;
    facts.role = ROLE_SYSTEM_MENUITEM;
    if (state_ == State::Listed && !entries_.empty()) {
        const FolderEntry& e = entries_[static_cast<std::size_t>(index)];
        facts.name = e.shown;
        facts.defaultAction = L"実行";
        facts.state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | (e.folder ? STATE_SYSTEM_HASPOPUP : 0);
        if (index == selected_)
            facts.state |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED |
                           (DeepestFolderMenu() == this ? STATE_SYSTEM_FOCUSED : 0);
    } else {
        facts.name = AccessibleText(state_ == State::Reading      ? kReadingCaption + 1
                                    : state_ == State::Unreadable ? kUnreadableCaption + 1
                                                                  : kEmptyFolderCaption + 1);
        facts.state = STATE_SYSTEM_UNAVAILABLE;
    }
    if (index < firstRow_ || index >= firstRow_ + visibleRows_) {
        facts.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        return facts;
    }
    const int top = (index - firstRow_) * painter_.Geometry().rowHeight;
    RECT client{};
    GetClientRect(Handle(), &client);
    facts.screen = RECT{0, top, client.right, top + painter_.Geometry().rowHeight};
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&facts.screen), 2);
    return facts;
}

std::wstring TvlcrFolderMenu::TargetName() const
{
    const std::size_t slash = folder_.find_last_of(L"\\/", folder_.size() > 1 ? folder_.size() - 2 : 0);
    return slash == std::wstring::npos ? folder_ : folder_.substr(slash + 1);
}

bool TvlcrFolderMenu::DoAccessibleDefault(int child)
{
    if (child <= 0 || state_ != State::Listed || child > static_cast<int>(entries_.size()))
        return false;
    SetSelectedIndex(child - 1);
    return PostMessageA(Handle(), kWmAccessibleLaunch, static_cast<WPARAM>(child - 1), 0) != 0;
}

int TvlcrFolderMenu::AccessibleChildAt(POINT screen) const
{
    POINT p{};
    if (!ClientPointOf(Handle(), screen, p))
        return -1;
    const int row = RowAt(p.y);
    return row >= 0 ? row + 1 : 0;
}

int TvlcrFolderMenu::RowCount() const noexcept
{
    return state_ == State::Listed && !entries_.empty() ? static_cast<int>(entries_.size()) : 1;
}

LRESULT TvlcrFolderMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const auto painted = PaintMessage(message, wParam))
        return *painted;
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // the launch menu keeps the keyboard
    case WM_MOUSEMOVE:
        HandleMouseMove(GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP: {
        const int row = RowAt(GET_Y_LPARAM(lParam));
        if (row >= 0)
            LaunchEntry(row, (wParam & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT));
        return 0;
    }
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        if (lines == WHEEL_PAGESCROLL || lines == 0)
            lines = static_cast<UINT>(visibleRows_);
        ScrollBy(-GET_WHEEL_DELTA_WPARAM(wParam) * static_cast<int>(lines) / WHEEL_DELTA);
        return 0;
    }
    case WM_TIMER:
        KillTimer(Handle(), wParam);
        if (wParam == kReadingTimer && state_ == State::Reading)
            ShowBesideRow();
        else if (wParam == kHoverTimer)
            OpenSubfolder(hoverRow_, false);
        return 0;
    case kWmFolderListing:
        TakeListing(lParam);
        return 0;
    case kWmFolderIcon:
        TakeIcon(lParam);
        return 0;
    case kWmAccessibleLaunch:
        LaunchEntry(static_cast<int>(wParam), false);
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = accessible_.Answer(wParam, lParam))
            return object;
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void TvlcrFolderMenu::TakeListing(LPARAM answer)
{
    const std::unique_ptr<Listing> listing = TakeResult<Listing>(answer);
    if (closed_)
        return;  // a closed menu never comes back on screen
    state_ = listing->listing.readable ? State::Listed : State::Unreadable;
    entries_ = std::move(listing->listing.entries);
    icons_.clear();
    icons_.resize(entries_.size());
    iconAsked_.assign(entries_.size(), false);
    textWidth_ = listing->textWidth;
    if (byKeyboard_ && !entries_.empty())
        selected_ = 0;
    ShowBesideRow();
}

void TvlcrFolderMenu::ShowBesideRow()
{
    const MenuGeometry& g = painter_.Geometry();
    const int border = 2 * GetSystemMetrics(SM_CXBORDER);
    // Room for the icon column before the name and for the arrow after it.
    const int wanted = g.iconColumnRight + g.Px(2) + textWidth_ + g.Px(16) + border;
    const int width = std::clamp(wanted, g.width, g.Px(kMaxFolderMenuWidth));
    painter_.SetWidth(width - border);
    const POINT centre{row_.left + (row_.right - row_.left) / 2, row_.top + (row_.bottom - row_.top) / 2};
    const RECT work = MonitorAreaAt(centre).work;
    const int fit = std::max(1, static_cast<int>(work.bottom - work.top - border) / g.rowHeight);
    visibleRows_ = std::min(RowCount(), fit);
    firstRow_ = 0;
    ScrollIntoView(selected_);
    const int height = visibleRows_ * g.rowHeight + border;
    const SubmenuPlace place = PlaceSubmenu({row_.left, row_.top, row_.right, row_.bottom},
                                            {work.left, work.top, work.right, work.bottom}, width, height, leftward_);
    leftward_ = place.leftward;
    const MenuOrigin at = place.at;
    SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (!shown_) {
        TellAccessibleEvent(EVENT_SYSTEM_MENUPOPUPSTART, Handle(), CHILDID_SELF);
        if (selected_ >= 0)
            TellAccessibleEvent(EVENT_OBJECT_FOCUS, Handle(), selected_ + 1);
    }
    shown_ = true;
    InvalidateRect(Handle(), nullptr, FALSE);
    AskIcons();
}

void TvlcrFolderMenu::AskIcons()
{
    // Only the rows on screen: a folder of thousands asks for a screenful.
    std::vector<std::pair<int, std::wstring>> wanted;
    for (int i = firstRow_; i < firstRow_ + visibleRows_ && i < static_cast<int>(entries_.size()); ++i)
        if (!iconAsked_[static_cast<std::size_t>(i)]) {
            iconAsked_[static_cast<std::size_t>(i)] = true;
            wanted.emplace_back(i, EntryPath(i));
        }
    if (wanted.empty())
        return;
    const HWND answerTo = Handle();
    RunInBackground([answerTo, wanted] {
        for (const auto& [row, path] : wanted) {
            SHFILEINFOW info{};
            if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) || !info.hIcon)
                continue;
            auto answer = std::make_unique<RowIcon>();
            answer->row = row;
            answer->icon.reset(info.hIcon);
            PostResult(answerTo, kWmFolderIcon, std::move(answer));
        }
    });
}

void TvlcrFolderMenu::TakeIcon(LPARAM answer)
{
    std::unique_ptr<RowIcon> icon = TakeResult<RowIcon>(answer);
    if (closed_ || icon->row < 0 || static_cast<std::size_t>(icon->row) >= icons_.size())
        return;
    icons_[static_cast<std::size_t>(icon->row)] = std::move(icon->icon);
    DrawRow(icon->row);
}

std::wstring TvlcrFolderMenu::EntryPath(int row) const
{
    return JoinPath(folder_, entries_[static_cast<std::size_t>(row)].name);
}

void TvlcrFolderMenu::DrawRowTo(HDC target, int index)
{
    if (index < firstRow_ || index >= firstRow_ + visibleRows_ || index >= RowCount())
        return;
    RowContent content;
    content.selected = index == selected_;
    // A list that goes on beyond the rows shown says so at that edge.
    if (index == firstRow_ && firstRow_ > 0)
        content.scrollMark = -1;
    else if (index == firstRow_ + visibleRows_ - 1 && firstRow_ + visibleRows_ < RowCount())
        content.scrollMark = 1;
    HICON icon = nullptr;
    if (state_ == State::Listed && !entries_.empty()) {
        const FolderEntry& e = entries_[static_cast<std::size_t>(index)];
        content.itemRow = true;
        content.arrow = e.folder;
        content.wideCaption = e.shown;
        icon = icons_[static_cast<std::size_t>(index)].get();
        if (!icon)
            icon = e.folder ? folderIcon_.get() : fileIcon_.get();
    } else {
        content.greyed = true;
        content.caption = state_ == State::Reading      ? kReadingCaption
                          : state_ == State::Unreadable ? kUnreadableCaption
                                                        : kEmptyFolderCaption;
    }
    const int size = painter_.Geometry().iconSize;
    painter_.Paint(target, (index - firstRow_) * painter_.Geometry().rowHeight, content, true,
                   [icon, size](HDC dc, int x, int y) {
                       if (icon)
                           DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
                   });
}

void TvlcrFolderMenu::DrawRow(int index)
{
    if (!shown_)
        return;
    WindowDc dc(Handle());
    DrawRowTo(dc.get(), index);
}

void TvlcrFolderMenu::PaintContent(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int bottom = visibleRows_ * painter_.Geometry().rowHeight;
    const RECT below{0, bottom, client.right, client.bottom};
    if (below.bottom > below.top)
        FillRect(dc, &below, painter_.BackgroundBrush());
    for (int i = firstRow_; i < firstRow_ + visibleRows_; ++i)
        DrawRowTo(dc, i);
}

void TvlcrFolderMenu::AnnounceFocus()
{
    if (shown_ && selected_ >= 0)
        TellAccessibleEvent(EVENT_OBJECT_FOCUS, Handle(), selected_ + 1);
}

void TvlcrFolderMenu::SetSelectedIndex(int index)
{
    const int old = selected_;
    selected_ = index < -1 ? -1 : std::min(index, RowCount() - 1);
    if (old == selected_)
        return;
    if (shown_ && selected_ >= 0)
        TellAccessibleEvent(EVENT_OBJECT_FOCUS, Handle(), selected_ + 1);
    if (ScrollIntoView(selected_))
        return;
    DrawRow(old);
    DrawRow(selected_);
}

bool TvlcrFolderMenu::ScrollIntoView(int index)
{
    if (index < 0 || (index >= firstRow_ && index < firstRow_ + visibleRows_))
        return false;
    ScrollBy(index < firstRow_ ? index - firstRow_ : index - (firstRow_ + visibleRows_ - 1));
    return true;
}

void TvlcrFolderMenu::ScrollBy(int rows)
{
    const int last = std::max(0, RowCount() - visibleRows_);
    const int first = std::clamp(firstRow_ + rows, 0, last);
    if (first == firstRow_)
        return;
    firstRow_ = first;
    if (shown_) {
        WindowDc dc(Handle());
        PaintContent(dc.get());
    }
    AskIcons();
}

int TvlcrFolderMenu::RowAt(int y) const
{
    const int row = y < 0 ? -1 : firstRow_ + y / painter_.Geometry().rowHeight;
    return row >= firstRow_ && row < firstRow_ + visibleRows_ && row < RowCount() ? row : -1;
}

void TvlcrFolderMenu::KeepOpener()
{
    // Moving into a folder menu passes over other rows of the one it came
    // from: that one keeps its opening row and does not switch menus.
    if (level_ == 0) {
        SendMessageA(launcher_, kWmKeepFolderOpen, static_cast<WPARAM>(openerRow_), 0);
    } else if (TvlcrFolderMenu* in = FolderMenuAt(level_ - 1)) {
        KillTimer(in->Handle(), kHoverTimer);
        in->SetSelectedIndex(openerRow_);
        in->KeepOpener();
    }
}

void TvlcrFolderMenu::HandleMouseMove(int y)
{
    KeepOpener();
    const int row = RowAt(y);
    if (row < 0 || row == selected_)
        return;
    SetSelectedIndex(row);
    // Resting on a subfolder opens it, resting elsewhere closes a deeper one.
    KillTimer(Handle(), kHoverTimer);
    const bool folder = state_ == State::Listed && row < static_cast<int>(entries_.size()) &&
                        entries_[static_cast<std::size_t>(row)].folder;
    if (folder || FolderMenuAt(level_ + 1)) {
        hoverRow_ = row;
        UINT delay = 400;
        SystemParametersInfoA(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
        SetTimer(Handle(), kHoverTimer, delay, nullptr);
    }
}

void TvlcrFolderMenu::OpenSubfolder(int row, bool byKeyboard)
{
    const bool folder = state_ == State::Listed && row >= 0 && row < static_cast<int>(entries_.size()) &&
                        entries_[static_cast<std::size_t>(row)].folder;
    if (!folder) {
        CloseFolderMenusFrom(level_ + 1);
        return;
    }
    const std::wstring path = EntryPath(row);
    TvlcrFolderMenu* deeper = FolderMenuAt(level_ + 1);
    if (deeper && deeper->Folder() == path && deeper->OpenerRow() == row) {
        if (byKeyboard && deeper->RowCount() > 0 && deeper->ReadState() == State::Listed)
            deeper->SetSelectedIndex(0);
        return;
    }
    RECT r{0, (row - firstRow_) * painter_.Geometry().rowHeight, 0, 0};
    RECT client{};
    GetClientRect(Handle(), &client);
    r.right = client.right;
    r.bottom = r.top + painter_.Geometry().rowHeight;
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    OpenFolderMenu(launcher_, path, level_ + 1, r, row, byKeyboard, launcherGeometry_, leftward_);
}

void TvlcrFolderMenu::KeyDown(WPARAM key)
{
    const int rows = RowCount();
    const bool listed = state_ == State::Listed && !entries_.empty();
    switch (key) {
    case VK_UP:
        if (listed)
            SetSelectedIndex(RowAbove(selected_, rows));
        break;
    case VK_DOWN:
        if (listed)
            SetSelectedIndex(RowBelow(selected_, rows));
        break;
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
        if (listed)
            SetSelectedIndex(RowForPageKey(*PageKeyFor(static_cast<unsigned>(key)), selected_, rows, visibleRows_));
        break;
    case VK_RIGHT:
        OpenSubfolder(selected_, true);
        break;
    case VK_LEFT:
    case VK_ESCAPE:
        CloseFolderMenusFrom(level_);
        // Screen readers hear which row the user is back on.
        if (level_ == 0)
            SendMessageA(launcher_, kWmFolderClosed, 0, 0);
        else if (TvlcrFolderMenu* in = FolderMenuAt(level_ - 1))
            in->AnnounceFocus();
        break;
    case VK_RETURN:
        LaunchEntry(selected_, AsyncKeyStateCall(VK_CONTROL) < 0 && AsyncKeyStateCall(VK_SHIFT) < 0);
        break;
    default:
        break;
    }
}

void TvlcrFolderMenu::LaunchEntry(int row, bool elevated)
{
    if (state_ != State::Listed || row < 0 || row >= static_cast<int>(entries_.size()))
        return;  // a greyed row is no choice
    const FolderEntry& entry = entries_[static_cast<std::size_t>(row)];
    const std::wstring path = EntryPath(row);
    // As a launch from the menu: what opens may come to the front, and the
    // consent prompt of "runas" opens over the menu, not behind it.
    const bool runas = elevated && !entry.folder;
    AllowSetForegroundWindow(ASFW_ANY);
    WideShellExecuteCall(runas ? GetAncestor(launcher_, GA_ROOTOWNER) : nullptr, runas ? L"runas" : nullptr,
                         path.c_str(), nullptr, folder_.c_str(), SW_SHOWNORMAL);
    // Sent, not posted: the foreground goes back before the launched
    // program's window can come up.
    SendMessageA(launcher_, kWmFolderLaunched, 0, 0);
}

bool FolderMenusOpen() { return !Open.empty(); }

TvlcrFolderMenu* DeepestFolderMenu() { return Open.empty() ? nullptr : Open.back().get(); }

TvlcrFolderMenu* FolderMenuAt(int level)
{
    return level >= 0 && level < static_cast<int>(Open.size()) ? Open[static_cast<std::size_t>(level)].get()
                                                               : nullptr;
}

void OpenFolderMenu(HWND launcher, const std::wstring& folder, int level, const RECT& row, int openerRow,
                    bool byKeyboard, const MenuGeometry& geometry, bool leftward)
{
    if (!IsWindow(launcher) || level < 0 || level > static_cast<int>(Open.size()))
        return;
    CloseFolderMenusFrom(level);
    FreeClosedFolderMenus();
    auto menu = std::make_unique<TvlcrFolderMenu>(launcher, folder, level, row, byKeyboard, geometry, leftward);
    menu->SetOpenerRow(openerRow);
    if (menu->Handle())
        Open.push_back(std::move(menu));
}

void CloseFolderMenusFrom(int level)
{
    // A menu may be closed from its own handler (a key, a launch): it is
    // hidden now and freed once that handler is done.
    while (static_cast<int>(Open.size()) > std::max(level, 0)) {
        Open.back()->MarkClosed();
        ShowWindow(Open.back()->Handle(), SW_HIDE);
        TellAccessibleEvent(EVENT_SYSTEM_MENUPOPUPEND, Open.back()->Handle(), CHILDID_SELF);
        Closed.push_back(std::move(Open.back()));
        Open.pop_back();
    }
    if (!Closed.empty() && IsWindow(Closed.back()->Launcher()))
        PostMessageA(Closed.back()->Launcher(), kWmFreeFolderMenus, 0, 0);
}

void CloseFolderMenus() { CloseFolderMenusFrom(0); }

void FreeClosedFolderMenus() { Closed.clear(); }
