// The item list editor: the whole launch list in a list view, with editing,
// deleting, adding, renaming in place, reordering by dragging and adding by
// dropping files. Changes go straight into the list in memory; the close
// button saves them, Cancel and the title bar put the list back.
#pragma once
#include <windows.h>

#include <iterator>
#include <string>
#include <unordered_map>

#include "controls/Form.h"
#include "core/store/LaunchList.h"

// The popup menu's identifiers.
enum EditMenuId : UINT {
    kMiEdit = 201,
    kMiDelete,
    kMiAdd,
    kMiStartMenu,
    kLargeIcon1,
    kS1,
    kDetail1,
};

// The rows an empty list shows instead of items; Enter or a double click on
// the first and third does what they say.
struct HintRow {
    const char* caption;
    const char* text;
};
inline constexpr HintRow kHintRows[] = {
    {"ヒント１", "右クリックでのポップアップメニューから編集を行えます。"},
    {"ヒント２", "エクスプローラからドラッグ＆ドロップして追加出来ます。"},
    {"ヒント３", "新規ランチ(Ctrl+N)で、手入力して追加出来ます。"},
};
inline constexpr int kHintRowCount = static_cast<int>(std::size(kHintRows));
inline constexpr const char* kMsgDeleteConfirm = "削除します。よろしいですか？";
inline constexpr const char* kMsgDeleteConfirmCaption = "確認";

class TfrmItemListEditor : public Form {
public:
    TfrmItemListEditor();
    ~TfrmItemListEditor() override;

    HWND lvList = nullptr;
    HWND btnClose = nullptr;
    TplButton* plButton1 = nullptr;  // キャンセル
    TplButton* plButton2 = nullptr;  // ヘルプ

    // Rebuilds the rows from the launch list (the hint rows when it is empty).
    void RefreshList();
    // The selected row, or -1. Hint rows are never selected.
    int SelectedRow() const;

    // The popup menu's handlers, also reached by the keys and the mouse.
    void miEditClick();
    void miDeleteClick();
    void miAddClick();
    void miStartMenuClick();
    void LargeIcon1Click();
    void S1Click();
    void Detail1Click();

protected:
    void FormShow() override;
    void FormClose() override;
    void FormPaint(HDC dc) override;
    void FormResize() override;
    bool FormKeyDown(WPARAM key) override;
    void FormDpiChanged() override;
    void Command(int id, int code, HWND control) override;
    LRESULT Notify(const NMHDR& header) override;
    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void FormCreate();
    void FormDestroy();
    void btnCloseClick();
    void Button1Click();
    void Button2Click();
    void pbEditPopup(POINT at);
    void lvListDblClick(int row);
    void HintRowAction(int row);
    LRESULT lvListCustomDraw(NMLVCUSTOMDRAW& draw);
    void DrawHintRow(HDC dc, int row);
    void lvListSelectItem();
    bool lvListEditing(int row) const;
    void lvListEdited(int row, const char* text);
    void lvListBeginDrag(int row);
    void lvListDragOver(POINT formPoint);
    void lvListDragDrop(POINT formPoint);
    void WMDropFiles(WPARAM drop);
    void lvListGetDispInfo(NMLVDISPINFOA& info);
    bool lvListKeyDown(WORD key);
    void SetView(DWORD view);
    int ColumnWidth(int column) const;
    void SelectRow(int row);
    int IconIndex(const std::string& target);
    bool TargetMissing(const std::string& target);
    void RestoreList();

    std::unordered_map<std::string, int> iconIndexes_;
    std::unordered_map<std::string, bool> missing_;
    int dragSource_ = -1;
    bool dragging_ = false;
    LaunchList before_;
    std::string dblClickBefore_;
    bool hadListBefore_ = false;
};

// Opens the editor modally without an owner, as the first run does.
void RunItemListEditor();
