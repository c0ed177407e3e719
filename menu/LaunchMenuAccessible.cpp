// The launch menu as screen readers read it: a menu popup whose rows are its
// menu items.
#include "core/store/LaunchList.h"
#include "menu/FolderMenu.h"
#include "menu/LaunchMenu.h"

namespace {

std::wstring Trimmed(std::wstring text)
{
    const std::size_t first = text.find_first_not_of(L" \x3000");
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

}  // namespace

AccessibleFacts TvlcrLaunchMenu::DescribeAccessible(int child) const
{
    AccessibleFacts facts;
    if (child == 0) {
        facts.role = ROLE_SYSTEM_MENUPOPUP;
        facts.state = IsWindowVisible(Handle()) ? 0 : STATE_SYSTEM_INVISIBLE;
        GetWindowRect(Handle(), &facts.screen);
        return facts;
    }
    const int index = child - 1;
    const MenuRow& row = items_[static_cast<std::size_t>(index)];
    if (row.Ref == kSearchRef) {
        // What was typed: a text field read with its text.
        facts.role = ROLE_SYSTEM_TEXT;
        facts.name = Trimmed(AccessibleText(kSearchCaptionHead));
        if (!facts.name.empty() && facts.name.back() == L':')
            facts.name.pop_back();
        facts.value = AccessibleText(typed_);
        facts.state = STATE_SYSTEM_READONLY;
    } else {
        facts.role = ROLE_SYSTEM_MENUITEM;
        facts.name = Trimmed(AccessibleText(row.Caption));
        facts.state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
        if (row.Ref == kNoMatchRef)
            facts.state = STATE_SYSTEM_UNAVAILABLE;
        else
            facts.defaultAction = L"実行";
        // While a folder menu is open its row has the focus, not the opener.
        const bool focused = GetFocus() == Handle() && !FolderMenusOpen();
        if (row.Ref >= 0 && LaunchListsPresent() && row.Ref < LaunchItemCount()) {
            const std::string& key = LaunchLists->ShortCutList[static_cast<std::size_t>(row.Ref)];
            if (key != NoShortCut && !Searching())
                facts.keyboardShortcut = AccessibleText(key);
        }
        if (IsFolderRow(index))
            facts.state |= STATE_SYSTEM_HASPOPUP;
        if (row.Ref >= 0 && row.Ref == defaultIndex_)
            facts.state |= STATE_SYSTEM_DEFAULT;
        if (index == selectedIndex_)
            facts.state |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED;
        if (index == FocusedRow() && focused)
            facts.state |= STATE_SYSTEM_FOCUSED;
    }
    if (!RowShown(index) || !IsWindowVisible(Handle())) {
        facts.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        return facts;
    }
    const int top = geometry_.RowTop(index - firstRow_);
    facts.screen = RECT{0, top, Width(), top + geometry_.rowHeight};
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&facts.screen), 2);
    return facts;
}

bool TvlcrLaunchMenu::DoAccessibleDefault(int child)
{
    if (child <= 0 || !IsChoosableRef(items_[static_cast<std::size_t>(child - 1)].Ref))
        return false;
    // As Enter on the row, once the screen reader's call has returned.
    SetSelectedIndex(child - 1);
    return PostMessageA(Handle(), kWmAccessibleLaunch, static_cast<WPARAM>(child - 1), 0) != 0;
}

int TvlcrLaunchMenu::FocusedRow() const noexcept
{
    if (selectedIndex_ >= 0 && selectedIndex_ < RowCount())
        return selectedIndex_;
    for (int i = 0; Searching() && i < RowCount(); ++i)
        if (items_[static_cast<std::size_t>(i)].Ref == kNoMatchRef)
            return i;
    return -1;
}

int TvlcrLaunchMenu::AccessibleFocus() const
{
    if (GetFocus() != Handle())
        return -1;
    return FocusedRow() + 1;
}

HWND TvlcrLaunchMenu::AccessibleFocusHolder() const
{
    // The keys go to the deepest folder menu open, and so does the focus.
    const TvlcrFolderMenu* deepest = GetFocus() == Handle() ? DeepestFolderMenu() : nullptr;
    return deepest ? deepest->Handle() : nullptr;
}

int TvlcrLaunchMenu::AccessibleChildAt(POINT screen) const
{
    POINT p{};
    if (!ClientPointOf(Handle(), screen, p))
        return -1;
    const int row = p.y < 0 ? -1 : RowAtPoint(static_cast<unsigned>(p.y));
    return row >= 0 && row < RowCount() ? row + 1 : 0;
}

void TvlcrLaunchMenu::AnnounceSelection()
{
    // One focus event a move, as for a menu; none for a row under an open
    // folder menu, whose own row has the focus.
    const int row = FocusedRow();
    if (!announced_ || row < 0 || FolderMenusOpen())
        return;
    TellAccessibleEvent(EVENT_OBJECT_FOCUS, Handle(), row + 1);
}

void TvlcrLaunchMenu::AnnounceShown()
{
    if (!announced_) {
        announced_ = true;
        TellAccessibleEvent(EVENT_SYSTEM_MENUPOPUPSTART, Handle(), CHILDID_SELF);
    }
    AnnounceSelection();
}

void TvlcrLaunchMenu::AnnounceHidden()
{
    if (!announced_)
        return;
    announced_ = false;
    TellAccessibleEvent(EVENT_SYSTEM_MENUPOPUPEND, Handle(), CHILDID_SELF);
}
