#include "dialogs/StartMenuImport.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "controls/PlButton.h"
#include "core/store/LaunchList.h"
#include "dialogs/ChosenFiles.h"
#include "platform/BackgroundJob.h"
#include "platform/PathText.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "platform/StartMenuFolders.h"

namespace {

constexpr UINT kWmImportBatch = WM_APP + 0x50;
constexpr UINT kWmImportIcons = WM_APP + 0x51;
constexpr std::size_t kBatchSize = 64;

constexpr FormStyle kStyle{
    .caption = kImportCaption,
    .clientWidth = 480,
    .clientHeight = 360,
    .frame = FormFrame::Sizeable,
    .color = kFormColor,
    .position = FormPosition::ScreenCenter,
    .keyPreview = false,
    .escapeCloses = true,
};

constexpr DWORD kListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER;

bool LogicalLess(const std::wstring& a, const std::wstring& b) { return StrCmpLogicalW(a.c_str(), b.c_str()) < 0; }

// A program as the list knows it: the target in any case, and the arguments.
std::wstring ListedKey(const std::wstring& target, const std::wstring& arguments)
{
    std::wstring key = target;
    CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key + L'\n' + arguments;
}

}  // namespace

struct TfrmStartMenuImport::Batch {
    std::vector<StartMenuEntry> entries;
    bool last = false;
};

// Icons found after the rows: the shell takes far longer for a shortcut's
// icon than for reading it, so the rows come first with their kind's icon.
struct TfrmStartMenuImport::Icons {
    std::vector<std::pair<std::wstring, int>> byPath;  // a shortcut's path, its icon
    bool last = false;
};

TfrmStartMenuImport::TfrmStartMenuImport() : Form(kStyle)
{
    lvPrograms = AddListView(8, 8, 464, 312, kListStyle);
    SendMessageA(lvPrograms, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const struct {
        const char* header;
        int width;
    } columns[] = {{"名前", 240}, {"フォルダ", 200}};
    int index = 0;
    for (const auto& c : columns) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(c.header);
        column.cx = Px(c.width);
        column.iSubItem = index;
        SendMessageA(lvPrograms, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
    AttachSmallSystemImageList(lvPrograms, true);
    btnAdd = AddPushButton(352, 330, 120, 22, "追加", true);
    plButton1 = &AddDialogButton(8, 330, 121, 22, "plButton1", "キャンセル", mrCancel);
    plButton1->SetCancel(true);
    SetAnchors(lvPrograms, akLeft | akTop | akRight | akBottom);
    SetAnchors(btnAdd, akRight | akBottom);
    SetAnchors(plButton1->Handle(), akLeft | akBottom);
}

TfrmStartMenuImport::~TfrmStartMenuImport()
{
    if (stop_)
        *stop_ = true;
}

void TfrmStartMenuImport::FormShow()
{
    if (!LaunchListsPresent())
        CreateLaunchLists();
    for (int i = 0; i < LaunchItemCount(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        listed_.insert(ListedKey(::Widen(LaunchLists->TargetList[at]), ::Widen(LaunchLists->CmdLineList[at])));
    }
    StartReading();
}

void TfrmStartMenuImport::FormClose()
{
    // The reading thread stops at its next shortcut; what it posts after is
    // freed with the window's queue.
    if (stop_)
        *stop_ = true;
}

void TfrmStartMenuImport::FormResize() { InvalidateRect(Handle(), nullptr, FALSE); }

void TfrmStartMenuImport::StartReading()
{
    stop_ = std::make_shared<std::atomic<bool>>(false);
    reading_ = true;
    const HWND answerTo = Handle();
    const auto stop = stop_;
    const bool started = RunInBackground([answerTo, stop] {
        StartMenuMerger merger;
        std::vector<std::wstring> links;  // the shortcuts shown, for their icons
        const int generic = SmallIconIndex(L"x.lnk", true);
        auto batch = std::make_unique<Batch>();
        const auto send = [&] {
            PostResult(answerTo, kWmImportBatch, std::move(batch));
            batch = std::make_unique<Batch>();
        };
        for (const bool allUsers : {false, true}) {
            FindShortcuts(ProgramsFolder(allUsers),
                          [&](const std::wstring& folder, const std::wstring& name, const std::wstring& path) {
                              if (*stop)
                                  return;
                              ShortcutParts parts = ReadShortcutW(path);
                              // An installer's shortcut names no file: the
                              // shortcut itself is what the shell starts.
                              StartMenuEntry entry{name,
                                                   folder,
                                                   parts.target.empty() ? path : parts.target,
                                                   parts.target.empty() ? std::wstring() : parts.arguments,
                                                   parts.directory,
                                                   generic,
                                                   false,
                                                   path};
                              if (!merger.Take(entry))
                                  return;
                              links.push_back(path);
                              batch->entries.push_back(std::move(entry));
                              if (batch->entries.size() >= kBatchSize)
                                  send();
                          });
        }
        if (!*stop)
            for (const StoreApp& app : StoreApps()) {
                StartMenuEntry entry{app.name, L"", L"shell:AppsFolder\\" + app.id, L"", L"", app.icon, true, L""};
                if (merger.Take(entry))
                    batch->entries.push_back(std::move(entry));
            }
        batch->last = true;
        send();
        auto icons = std::make_unique<Icons>();
        for (const std::wstring& link : links) {
            if (*stop)
                return;
            icons->byPath.emplace_back(link, SmallIconIndex(link, false));
            if (icons->byPath.size() >= kBatchSize) {
                PostResult(answerTo, kWmImportIcons, std::move(icons));
                icons = std::make_unique<Icons>();
            }
        }
        icons->last = true;
        PostResult(answerTo, kWmImportIcons, std::move(icons));
    });
    iconsComing_ = started;
    if (!started)
        reading_ = false;
}

LRESULT TfrmStartMenuImport::Message(UINT message, WPARAM, LPARAM lParam, bool& handled)
{
    if (message == kWmImportBatch) {
        handled = true;
        if (const std::unique_ptr<Batch> batch = TakeResult<Batch>(lParam))
            TakeBatch(*batch);
    } else if (message == kWmImportIcons) {
        handled = true;
        if (const std::unique_ptr<Icons> icons = TakeResult<Icons>(lParam))
            TakeIcons(*icons);
    }
    return 0;
}

void TfrmStartMenuImport::TakeIcons(const Icons& icons)
{
    for (const auto& [link, icon] : icons.byPath) {
        const auto found = rowOfLink_.find(link);
        if (found == rowOfLink_.end())
            continue;
        LVFINDINFOA find{};
        find.flags = LVFI_PARAM;
        find.lParam = found->second;
        const auto row = static_cast<int>(
            SendMessageA(lvPrograms, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        if (row < 0)
            continue;
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iImage = icon;
        SendMessageA(lvPrograms, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (icons.last)
        iconsComing_ = false;
}

void TfrmStartMenuImport::TakeBatch(const Batch& batch)
{
    const bool first = rowNames_.empty();
    SendMessageA(lvPrograms, WM_SETREDRAW, FALSE, 0);
    for (const StartMenuEntry& entry : batch.entries)
        InsertRow(entry);
    SendMessageA(lvPrograms, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(lvPrograms, nullptr, FALSE);
    if (first && !rowNames_.empty()) {
        // The keyboard starts on the first row.
        LVITEMA state{};
        state.state = state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageA(lvPrograms, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    }
    if (batch.last)
        reading_ = false;
}

bool TfrmStartMenuImport::InList(const StartMenuEntry& entry) const
{
    return listed_.contains(ListedKey(entry.target, entry.arguments));
}

void TfrmStartMenuImport::InsertRow(const StartMenuEntry& entry)
{
    const std::size_t position = SortedPosition(rowNames_, entry.name, LogicalLess);
    const bool inList = InList(entry);
    entries_.push_back(entry);
    inList_.push_back(false);  // until its check is set below
    if (!entry.link.empty())
        rowOfLink_.emplace(entry.link, static_cast<LPARAM>(entries_.size() - 1));
    rowNames_.insert(rowNames_.begin() + static_cast<std::ptrdiff_t>(position), entry.name);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(position);
    item.pszText = const_cast<wchar_t*>(entry.name.c_str());
    item.iImage = entry.icon;
    item.lParam = static_cast<LPARAM>(entries_.size() - 1);
    const auto row = static_cast<int>(SendMessageW(lvPrograms, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (inList) {
        // The list view gives a new row an empty box; the check comes after.
        LVITEMA state{};
        state.state = INDEXTOSTATEIMAGEMASK(2);
        state.stateMask = LVIS_STATEIMAGEMASK;
        SendMessageA(lvPrograms, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        inList_.back() = true;
    }
    LVITEMW folder{};
    folder.iSubItem = 1;
    folder.pszText = const_cast<wchar_t*>(entry.app ? L"" : entry.folder.c_str());
    SendMessageW(lvPrograms, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&folder));
}

int TfrmStartMenuImport::EntryOf(int row) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(lvPrograms, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.lParam >= 0 && static_cast<std::size_t>(item.lParam) < entries_.size() ? static_cast<int>(item.lParam)
                                                                                          : -1;
}

bool TfrmStartMenuImport::RowChecked(int row) const
{
    const auto state = static_cast<UINT>(SendMessageA(lvPrograms, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                                      LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

LRESULT TfrmStartMenuImport::Notify(const NMHDR& header)
{
    if (header.hwndFrom != lvPrograms)
        return 0;
    if (header.code == LVN_ITEMCHANGING) {
        // A program already in the list stays checked.
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const int entry = static_cast<int>(change.lParam);
        const bool checkChanges = (change.uChanged & LVIF_STATE) &&
                                  ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK);
        return checkChanges && entry >= 0 && static_cast<std::size_t>(entry) < inList_.size() &&
                       inList_[static_cast<std::size_t>(entry)]
                   ? TRUE
                   : FALSE;
    }
    if (header.code == NM_CUSTOMDRAW) {
        auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        const auto entry = static_cast<std::size_t>(draw.nmcd.lItemlParam);
        if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && entry < inList_.size() && inList_[entry])
            draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_DODEFAULT;
    }
    return 0;
}

void TfrmStartMenuImport::Command(int, int code, HWND control)
{
    if (code == BN_CLICKED && control == btnAdd)
        btnAddClick();
}

void TfrmStartMenuImport::btnAddClick()
{
    if (!LaunchListsPresent())
        CreateLaunchLists();
    ChosenFiles chosen;
    std::vector<std::string> used = LaunchLists->ShortCutList;
    const int rows = static_cast<int>(SendMessageA(lvPrograms, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        const int index = EntryOf(row);
        if (index < 0 || inList_[static_cast<std::size_t>(index)] || !RowChecked(row))
            continue;
        const StartMenuEntry& e = entries_[static_cast<std::size_t>(index)];
        // Every text reaches the list exactly, a path by its short form where
        // it must; an item that cannot is refused, as a dropped file is.
        const std::optional<std::string> target = e.app ? ExactAnsiText(e.target) : chosen.Take(e.target);
        const std::optional<std::string> arguments = ExactAnsiText(e.arguments);
        const std::optional<std::string> directory =
            e.directory.empty() ? std::optional<std::string>(std::string()) : chosen.Take(e.directory);
        if (!target || !arguments || !directory)
            continue;
        const std::string name = ExactAnsiText(e.name).value_or(DerivedName(*target));
        const std::string letter = FreeShortcutLetter(name, used);
        if (!letter.empty())
            used.push_back(letter);
        SetLaunchItem(AddLaunchItem(), *target, name, *arguments, *directory, letter);
        ++added_;
    }
    chosen.ReportRefused(Handle());
    SetModalResult(mrOk);
}
