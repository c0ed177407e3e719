#include "dialogs/ItemListEditor.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "controls/PlButton.h"
#include "core/store/ItemPaths.h"
#include "core/store/LaunchFile.h"
#include "dialogs/ChosenFiles.h"
#include "dialogs/ItemEditor.h"
#include "dialogs/ItemListEditorText.h"
#include "dialogs/StartMenuImport.h"
#include "platform/Dialogs.h"
#include "platform/HighContrast.h"
#include "platform/HelpFile.h"
#include "platform/ModulePath.h"
#include "platform/PathText.h"
#include "platform/Seams.h"
#include "platform/ShellHelpers.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr COLORREF kListEditorColor = 0x00EBF0F3;
constexpr COLORREF kBandEnd = 0x00B4C9D3;
constexpr int kBandHeight = 32;

constexpr FormStyle kStyle{
    .caption = "アイテムエディタ",
    .clientWidth = 570,
    .clientHeight = 280,
    .frame = FormFrame::Sizeable,
    .color = kListEditorColor,
    .position = FormPosition::ScreenCenter,
    .keyPreview = true,  // Escape during a drag ends the drag, not the editor
    .escapeCloses = false,
};

struct Column {
    const char* header;
    int width;
};
constexpr Column kColumns[] = {
    {"表示名", 150}, {"起動ファイル名", 240}, {"コマンドライン引数", 110}, {"ショートカット", 50}, {"作業ディレクトリ", 150},
};

// The list view: rows come from the launch list on demand (LVS_OWNERDATA), so
// a long list opens at once and the shell is asked only for icons on screen.
// The system image lists are shared: the view must never destroy them.
constexpr DWORD kListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS |
                             LVS_OWNERDATA;

void CopyText(const std::string& text, NMLVDISPINFOA& info)
{
    if (!info.item.pszText || info.item.cchTextMax <= 0)
        return;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(info.item.cchTextMax - 1));
    std::memcpy(info.item.pszText, text.data(), n);
    info.item.pszText[n] = '\0';
}

void AppendItem(HMENU menu, UINT id, const char* caption, UINT type = MFT_STRING, bool checked = false)
{
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | (type & MFT_SEPARATOR ? 0 : MIIM_STRING);
    item.fType = type;
    item.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(caption);
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &item);
}

// Mouse and menu points are signed: a second screen may lie left of the first.
POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

TfrmItemListEditor::TfrmItemListEditor() : Form(kStyle)
{
    lvList = AddListView(0, 0, 570, 238, kListStyle, 0);
    SendMessageA(lvList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const Column& c : kColumns) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(c.header);
        column.cx = ColumnWidth(index);
        column.iSubItem = index;
        SendMessageA(lvList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
    btnClose = AddPushButton(440, 253, 123, 22, "閉じる(&C)", true);
    plButton1 = &AddDialogButton(104, 253, 121, 22, "plButton1", "キャンセル", mrCancel);
    // Escape closes the editor as キャンセル does, as users expect of a
    // dialog; a caption being edited in place takes its Escape itself.
    plButton1->SetCancel(true);
    plButton2 = &AddDialogButton(8, 253, 89, 22, "plButton2", "ヘルプ", mrNone);
    SetAnchors(lvList, akLeft | akTop | akRight | akBottom);
    SetAnchors(btnClose, akRight | akBottom);
    SetAnchors(plButton1->Handle(), akLeft | akBottom);
    SetAnchors(plButton2->Handle(), akLeft | akBottom);
    FormCreate();
}

TfrmItemListEditor::~TfrmItemListEditor() { FormDestroy(); }

void TfrmItemListEditor::FormCreate()
{
    DragAcceptFiles(Handle(), TRUE);
    AttachSmallSystemImageList(lvList, true);
    AttachLargeSystemImageList(lvList, true);
}

void TfrmItemListEditor::FormDestroy()
{
    if (Handle())
        DragAcceptFiles(Handle(), FALSE);
}

void TfrmItemListEditor::FormShow()
{
    if (!LaunchListsPresent()) {
        CreateLaunchLists();
        LoadLaunchList();
    }
    // What Cancel and the title bar put back: the list as the file has it.
    before_ = *LaunchLists;
    dblClickBefore_ = DblClickCommand;
    RefreshList();
}

void TfrmItemListEditor::FormClose()
{
    dragging_ = false;
    if (ModalResult() != mrOk)
        RestoreList();
}

void TfrmItemListEditor::RestoreList()
{
    if (!LaunchListsPresent())
        CreateLaunchLists();
    *LaunchLists = before_;
    DblClickCommand = dblClickBefore_;
}

void TfrmItemListEditor::FormPaint(HDC dc)
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (HighContrastOn())
        return;
    FillGradient(dc, false, RECT{0, client.bottom - Px(kBandHeight), client.right, client.bottom}, kListEditorColor,
                 kBandEnd);
}

void TfrmItemListEditor::FormDpiChanged()
{
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        SendMessageA(lvList, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), ColumnWidth(i));
}

int TfrmItemListEditor::ColumnWidth(int column) const
{
    // As designed, or as wide as its header where the font makes that wider.
    constexpr int kHeaderPadding = 14;
    const auto header = static_cast<int>(
        SendMessageA(lvList, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(kColumns[column].header)));
    return std::max(Px(kColumns[column].width), header + Px(kHeaderPadding));
}

void TfrmItemListEditor::FormResize()
{
    // The band follows the bottom edge: the old one must go as well.
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmItemListEditor::RefreshList()
{
    missing_.clear();  // a file may have come or gone since
    SendMessageA(lvList, WM_SETREDRAW, FALSE, 0);
    const int count = LaunchItemCount();
    // The hint rows stand in for an empty list; they are not items.
    SendMessageA(lvList, LVM_SETITEMCOUNT, static_cast<WPARAM>(count > 0 ? count : kHintRowCount), 0);
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(lvList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (count == 0) {
        // The first hint has the keyboard's focus, so Enter does what it says.
        LVITEMA focus{};
        focus.state = LVIS_FOCUSED;
        focus.stateMask = LVIS_FOCUSED;
        SendMessageA(lvList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focus));
    }
    SendMessageA(lvList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(lvList, nullptr, TRUE);
}

int TfrmItemListEditor::SelectedRow() const
{
    if (LaunchItemCount() == 0)
        return -1;
    const auto row = static_cast<int>(SendMessageA(lvList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row < LaunchItemCount() ? row : -1;
}

void TfrmItemListEditor::SelectRow(int row)
{
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(lvList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMA state{};
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(lvList, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageA(lvList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int TfrmItemListEditor::IconIndex(const std::string& target)
{
    // Many items share a target kind; the shell is asked once per target.
    if (const auto found = iconIndexes_.find(target); found != iconIndexes_.end())
        return found->second;
    int index = 0;
    try {
        if (const UniqueItemIdList item = PathToItemIdList(ResolveItemPath(target))) {
            SHFILEINFOA info;
            GetShellFileInfo(item.get(), false, false, info);
            index = info.iIcon;
            if (info.hIcon)
                DestroyIcon(info.hIcon);
        }
    } catch (const ShellError&) {
        index = 0;  // a path the shell cannot parse shows the first image
    }
    iconIndexes_.emplace(target, index);
    return index;
}

void TfrmItemListEditor::lvListGetDispInfo(NMLVDISPINFOA& info)
{
    const int row = info.item.iItem;
    const int column = info.item.iSubItem;
    const int count = LaunchItemCount();
    if (count == 0) {
        if (row < 0 || row >= kHintRowCount)
            return;
        if (info.item.mask & LVIF_IMAGE)
            info.item.iImage = I_IMAGENONE;
        if (info.item.mask & LVIF_TEXT) {
            const HintRow& hint = kHintRows[row];
            // An icon view shows one label per row: the hint itself.
            const bool details = SendMessageA(lvList, LVM_GETVIEW, 0, 0) == LV_VIEW_DETAILS;
            CopyText(column == 0 ? (details ? hint.caption : hint.text) : column == 1 ? hint.text : "", info);
        }
        return;
    }
    if (row < 0 || row >= count)
        return;
    const auto i = static_cast<std::size_t>(row);
    if (info.item.mask & LVIF_IMAGE)
        info.item.iImage = IconIndex(LaunchLists->TargetList[i]);
    if (info.item.mask & LVIF_TEXT) {
        switch (column) {
        case 0: CopyText(LaunchLists->NameList[i], info); break;
        case 1: CopyText(LaunchLists->TargetList[i], info); break;
        case 2: CopyText(LaunchLists->CmdLineList[i], info); break;
        case 3: CopyText(LaunchLists->ShortCutList[i].c_str(), info); break;  // NoShortCut shows as empty
        case 4: CopyText(LaunchLists->DirectoryList[i], info); break;
        default: CopyText("", info); break;
        }
    }
}

void TfrmItemListEditor::Command(int, int code, HWND control)
{
    if (code != BN_CLICKED)
        return;
    if (control == btnClose)
        btnCloseClick();
    else if (plButton1 && control == plButton1->Handle())
        Button1Click();
    else if (plButton2 && control == plButton2->Handle())
        Button2Click();
}

LRESULT TfrmItemListEditor::Notify(const NMHDR& header)
{
    if (header.hwndFrom != lvList)
        return 0;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        lvListGetDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        return 0;
    case LVN_ODFINDITEMA:
        return -1;  // no search by typing: letters never move the selection
    case LVN_ITEMCHANGED:
        lvListSelectItem();
        return 0;
    case NM_DBLCLK:
        lvListDblClick(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        return 0;
    case NM_CUSTOMDRAW:
        return lvListCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    case LVN_BEGINLABELEDITA:
        return lvListEditing(reinterpret_cast<const NMLVDISPINFOA&>(header).item.iItem) ? FALSE : TRUE;
    case LVN_ENDLABELEDITA: {
        const auto& info = reinterpret_cast<const NMLVDISPINFOA&>(header);
        lvListEdited(info.item.iItem, info.item.pszText);
        return FALSE;
    }
    case LVN_BEGINDRAG:
        lvListBeginDrag(reinterpret_cast<const NMLISTVIEW&>(header).iItem);
        return 0;
    case LVN_KEYDOWN:
        return lvListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey) ? 1 : 0;
    default:
        return 0;
    }
}

LRESULT TfrmItemListEditor::Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    switch (message) {
    case WM_DROPFILES:
        handled = true;
        WMDropFiles(wParam);
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != lvList)
            return 0;
        handled = true;
        pbEditPopup(PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (!dragging_)
            return 0;
        handled = true;
        lvListDragOver(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (!dragging_)
            return 0;
        handled = true;
        dragging_ = false;
        ReleaseCapture();
        lvListDragDrop(PointOf(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;  // another window took the mouse: the drag is over
        return 0;
    default:
        return 0;
    }
}

void TfrmItemListEditor::btnCloseClick()
{
    // A failed save has been reported; the dialog stays open so that nothing
    // the user did is lost: close again, or cancel.
    if (SaveLaunchList())
        SetModalResult(mrOk);
}

void TfrmItemListEditor::Button1Click() { SetModalResult(mrCancel); }

void TfrmItemListEditor::Button2Click() { OpenHelp(Handle()); }

bool TfrmItemListEditor::FormKeyDown(WPARAM key)
{
    // Enter on a hint row acts instead of pressing the default button.
    if (key == VK_RETURN && GetFocus() == lvList && LaunchItemCount() == 0) {
        const auto row =
            static_cast<int>(SendMessageA(lvList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (row >= 0 && row < kHintRowCount) {
            HintRowAction(row);
            return true;
        }
    }
    if (key != VK_ESCAPE || !dragging_)
        return false;
    dragging_ = false;
    ReleaseCapture();
    return true;
}

bool TfrmItemListEditor::lvListKeyDown(WORD key)
{
    if (key == VK_DELETE) {
        miDeleteClick();
        return true;
    }
    if (key == 'N' && GetKeyState(VK_CONTROL) < 0) {
        miAddClick();
        return true;
    }
    if (key == VK_ESCAPE && dragging_) {
        dragging_ = false;
        ReleaseCapture();
        return true;
    }
    return false;
}

void TfrmItemListEditor::pbEditPopup(POINT at)
{
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: under the selected row, or the list's corner.
        RECT r{};
        r.left = LVIR_LABEL;
        const int row = SelectedRow();
        if (row < 0 || !SendMessageA(lvList, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
            r = RECT{0, 0, 0, 0};
        at = POINT{r.left, r.bottom};
        ClientToScreen(lvList, &at);
    }
    const bool rowSelected = SelectedRow() >= 0;
    const auto view = static_cast<DWORD>(SendMessageA(lvList, LVM_GETVIEW, 0, 0));
    UniqueMenu menu(CreatePopupMenu());
    // Edit and delete only for a selected row; a separator never leads.
    if (rowSelected) {
        AppendItem(menu.get(), kMiEdit, "編集(&E)");
        AppendItem(menu.get(), kMiDelete, "削除(&D)\tDel");
        AppendItem(menu.get(), 0, nullptr, MFT_SEPARATOR);
        SetMenuDefaultItem(menu.get(), kMiEdit, FALSE);
    }
    AppendItem(menu.get(), kMiAdd, "新規ランチ(&A)\tCtrl+N");
    AppendItem(menu.get(), kMiStartMenu, "スタートメニューから追加(&M)...");
    AppendItem(menu.get(), 0, nullptr, MFT_SEPARATOR);
    AppendItem(menu.get(), kLargeIcon1, "大きいアイコン(&B)", MFT_RADIOCHECK, view == LV_VIEW_ICON);
    AppendItem(menu.get(), kS1, "小さいアイコン(&S)", MFT_RADIOCHECK, view == LV_VIEW_SMALLICON);
    AppendItem(menu.get(), kDetail1, "詳細(&R)", MFT_RADIOCHECK, view == LV_VIEW_DETAILS);
    const auto chosen = static_cast<UINT>(
        TrackPopup(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
    switch (chosen) {
    case kMiEdit: miEditClick(); break;
    case kMiDelete: miDeleteClick(); break;
    case kMiAdd: miAddClick(); break;
    case kMiStartMenu: miStartMenuClick(); break;
    case kLargeIcon1: LargeIcon1Click(); break;
    case kS1: S1Click(); break;
    case kDetail1: Detail1Click(); break;
    default: break;
    }
}

void TfrmItemListEditor::miEditClick()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    {
        TfrmLchSet editor;
        editor.EditItem(row, Handle());
    }
    RefreshList();
    SelectRow(row);
}

void TfrmItemListEditor::miDeleteClick()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (ShowMessageBox(Handle(), kMsgDeleteConfirm, kMsgDeleteConfirmCaption, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    DeleteLaunchItem(row);
    RefreshList();
}

void TfrmItemListEditor::miAddClick()
{
    const int index = AddLaunchItem();
    TfrmLchSet editor;
    if (editor.EditItem(index, Handle()) == mrOk) {
        RefreshList();
        SelectRow(index);
    } else {
        DeleteLaunchItem(index);
    }
}

void TfrmItemListEditor::miStartMenuClick()
{
    const int first = LaunchItemCount();
    int added = 0;
    {
        TfrmStartMenuImport import;
        if (import.ShowModal(Handle()) == mrOk)
            added = import.Added();
    }
    RefreshList();
    if (added > 0)
        SelectRow(first);
}

void TfrmItemListEditor::SetView(DWORD view)
{
    if (static_cast<DWORD>(SendMessageA(lvList, LVM_GETVIEW, 0, 0)) == view)
        return;
    SendMessageA(lvList, LVM_SETVIEW, view, 0);
}

void TfrmItemListEditor::LargeIcon1Click() { SetView(LV_VIEW_ICON); }
void TfrmItemListEditor::S1Click() { SetView(LV_VIEW_SMALLICON); }
void TfrmItemListEditor::Detail1Click() { SetView(LV_VIEW_DETAILS); }

bool TfrmItemListEditor::TargetMissing(const std::string& target)
{
    // Only paths on this computer's fixed disks are looked at: a share or a
    // removable drive could make the list wait, a bare name the system finds.
    if (const auto found = missing_.find(target); found != missing_.end())
        return found->second;
    const std::string path = ResolveItemPath(target);
    bool missing = false;
    if (ClassifyPath(path) == PathKind::Full && path.size() >= 3 && path[1] == ':') {
        const char root[] = {path[0], ':', '\\', '\0'};
        const UINT type = GetDriveTypeA(root);
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK)
            missing = GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    }
    missing_.emplace(target, missing);
    return missing;
}

void TfrmItemListEditor::lvListDblClick(int row)
{
    if (LaunchItemCount() == 0)
        HintRowAction(row);
    else if (SelectedRow() >= 0)
        miEditClick();
}

void TfrmItemListEditor::HintRowAction(int row)
{
    if (row == 0) {
        // Under the row, as the popup menu opens from the keyboard.
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageA(lvList, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        POINT at{r.left, r.bottom};
        ClientToScreen(lvList, &at);
        pbEditPopup(at);
    } else if (row == 2) {
        miAddClick();
    }
}

LRESULT TfrmItemListEditor::lvListCustomDraw(NMLVCUSTOMDRAW& draw)
{
    if (LaunchItemCount() != 0) {
        // An item whose file is gone is drawn in grey.
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
        if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && row < LaunchItemCount() &&
            TargetMissing(LaunchLists->TargetList[static_cast<std::size_t>(row)]))
            draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_DODEFAULT;
    }
    // A hint is wider than its column: it is drawn across the whole row.
    if (SendMessageA(lvList, LVM_GETVIEW, 0, 0) != LV_VIEW_DETAILS)
        return CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    DrawHintRow(draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec));
    return CDRF_SKIPDEFAULT;
}

void TfrmItemListEditor::DrawHintRow(HDC dc, int row)
{
    if (row < 0 || row >= kHintRowCount)
        return;
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessageA(lvList, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds)))
        return;
    RECT client;
    GetClientRect(lvList, &client);
    bounds.right = std::max(bounds.left, client.right);
    FillRect(dc, &bounds, GetSysColorBrush(COLOR_WINDOW));
    RECT caption{};
    caption.left = LVIR_LABEL;
    SendMessageA(lvList, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&caption));
    const int firstColumn = static_cast<int>(SendMessageA(lvList, LVM_GETCOLUMNWIDTH, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    constexpr UINT kFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT text{caption.left + Px(2), bounds.top, bounds.left + firstColumn, bounds.bottom};
    DrawTextA(dc, kHintRows[row].caption, -1, &text, kFlags);
    text = RECT{bounds.left + firstColumn + Px(6), bounds.top, bounds.right - Px(2), bounds.bottom};
    DrawTextA(dc, kHintRows[row].text, -1, &text, kFlags);
    if (GetFocus() == lvList && SendMessageA(lvList, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_FOCUSED))
        DrawFocusRect(dc, &bounds);
}

void TfrmItemListEditor::lvListSelectItem()
{
    // The hint rows are no items: they never stay selected.
    if (LaunchItemCount() != 0)
        return;
    if (SendMessageA(lvList, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
        return;
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(lvList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
}

bool TfrmItemListEditor::lvListEditing(int row) const { return row >= 0 && row < LaunchItemCount(); }

void TfrmItemListEditor::lvListEdited(int row, const char* text)
{
    if (row < 0 || row >= LaunchItemCount())
        return;
    // An empty name is refused: the row shows the old one again.
    if (text && *text)
        LaunchLists->NameList[static_cast<std::size_t>(row)] = text;
    SendMessageA(lvList, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

void TfrmItemListEditor::lvListBeginDrag(int row)
{
    if (LaunchItemCount() == 0 || row < 0)
        return;
    dragSource_ = SelectedRow();
    if (dragSource_ < 0)
        return;
    dragging_ = true;
    SetCapture(Handle());
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void TfrmItemListEditor::lvListDragOver(POINT formPoint)
{
    POINT p = formPoint;
    MapWindowPoints(Handle(), lvList, &p, 1);
    RECT r;
    GetClientRect(lvList, &r);
    // Only the list view takes the drop.
    SetCursor(LoadCursorA(nullptr, PtInRect(&r, p) ? IDC_ARROW : IDC_NO));
}

void TfrmItemListEditor::lvListDragDrop(POINT formPoint)
{
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    POINT p = formPoint;
    MapWindowPoints(Handle(), lvList, &p, 1);
    RECT r;
    GetClientRect(lvList, &r);
    if (!PtInRect(&r, p))
        return;
    LVHITTESTINFO hit{};
    hit.pt = p;
    const auto under = static_cast<int>(SendMessageA(lvList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const int source = dragSource_;
    const int target = DragTargetRow(under, LaunchItemCount());
    if (source < 0 || target < 0 || source >= LaunchItemCount())
        return;
    MoveLaunchItem(source, target);
    SendMessageA(lvList, LVM_REDRAWITEMS, static_cast<WPARAM>(std::min(source, target)), std::max(source, target));
    SelectRow(target);
}

void TfrmItemListEditor::WMDropFiles(WPARAM drop)
{
    ChosenFiles chosen;
    for (const std::wstring& dropped : GetDroppedFiles(drop)) {
        const DWORD attributes = GetFileAttributesW(dropped.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;  // folders and missing paths
        const std::optional<ChosenFiles::Item> item = chosen.TakeItem(dropped);
        if (!item)
            continue;
        SetLaunchItem(AddLaunchItem(), item->target, item->name, "", "", "");
    }
    RefreshList();
    chosen.ReportRefused(Handle());
}

void RunItemListEditor()
{
    TfrmItemListEditor form;
    form.ShowModal();
}
