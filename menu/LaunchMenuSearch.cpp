// Typing to find: the launch menu's rows while a search runs.
#include <string>

#include "core/store/LaunchList.h"
#include "menu/FolderMenu.h"
#include "menu/LaunchMenu.h"
#include "menu/MenuSearch.h"

namespace {

// Case folded, and full and half width made one, so that "CALC" finds
// "calc.exe" and half-width kana typed find the full-width kana of a name.
std::wstring Folded(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    for (const DWORD flags : {DWORD{LCMAP_LOWERCASE | LCMAP_FULLWIDTH}, DWORD{LCMAP_LOWERCASE}}) {
        const int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), length, nullptr, 0);
        if (n <= 0)
            continue;
        std::wstring folded(static_cast<std::size_t>(n), L'\0');
        if (LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), length, folded.data(), n) == n)
            return folded;
    }
    return wide;
}

}  // namespace

void TvlcrLaunchMenu::FoldForSearch()
{
    if (!foldedNames_.empty() || !LaunchListsPresent())
        return;
    for (std::size_t i = 0; i < LaunchLists->NameList.size(); ++i) {
        foldedNames_.push_back(Folded(LaunchLists->NameList[i]));
        const std::string& target = LaunchLists->TargetList[i];
        const std::wstring wide = Folded(target);
        foldedFiles_.emplace_back(TargetFileName(wide));
    }
}

void TvlcrLaunchMenu::Search(std::string typed)
{
    const std::int32_t wasSelected = SelectedRef();
    if (typed_.empty())
        selectedBeforeSearch_ = selectedIndex_;
    typed_ = std::move(typed);
    if (typed_.empty()) {
        items_ = listRows_;
        // Back to the whole list, on the item the search had selected, or
        // where the selection was before it.
        selectedIndex_ = wasSelected >= 0 && wasSelected < RowCount() - 2 ? wasSelected : selectedBeforeSearch_;
    } else {
        FoldForSearch();
        const std::vector<int> found = FindTyped(foldedNames_, foldedFiles_, Folded(typed_));
        items_.clear();
        items_.push_back({kSearchCaptionHead + typed_, kSearchRef});
        for (const int item : found)
            items_.push_back(listRows_[static_cast<std::size_t>(item)]);
        if (found.empty())
            items_.push_back({kNoMatchCaption, kNoMatchRef});
        items_.push_back(listRows_[listRows_.size() - 2]);
        items_.push_back(listRows_.back());
        selectedIndex_ = found.empty() ? -1 : 1;
    }
    firstRow_ = 0;
    ScrollIntoView(selectedIndex_);
    Tell(kLmnRowsChanged, selectedIndex_);
    TellAccessibleEvent(EVENT_OBJECT_REORDER, Handle(), CHILDID_SELF);
    AnnounceSelection();
}

void TvlcrLaunchMenu::EndSearch()
{
    if (Searching())
        Search("");
}
