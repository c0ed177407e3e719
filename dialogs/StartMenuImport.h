// "スタートメニューから追加": the shortcuts of the Start menus and the Store
// apps, with check boxes, read on a thread of their own and shown as they
// come; "追加" adds the checked ones to the end of the launch list (not yet
// saved: the list editor that opened it saves on 閉じる).
#pragma once
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "controls/Form.h"
#include "dialogs/StartMenuEntries.h"

inline constexpr const char* kImportCaption = "スタートメニューから追加";

class TfrmStartMenuImport : public Form {
public:
    TfrmStartMenuImport();
    ~TfrmStartMenuImport() override;

    HWND lvPrograms = nullptr;
    HWND btnAdd = nullptr;
    TplButton* plButton1 = nullptr;  // キャンセル

    // Items added by "追加".
    int Added() const noexcept { return added_; }
    // Rows are still coming from the reading thread.
    bool Reading() const noexcept { return reading_; }
    // The rows' own icons are still coming.
    bool IconsComing() const noexcept { return iconsComing_; }

protected:
    void FormShow() override;
    void FormClose() override;
    void FormResize() override;
    void Command(int id, int code, HWND control) override;
    LRESULT Notify(const NMHDR& header) override;
    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    struct Batch;
    struct Icons;
    void StartReading();
    void TakeBatch(const Batch& batch);
    void TakeIcons(const Icons& icons);
    void InsertRow(const StartMenuEntry& entry);
    bool InList(const StartMenuEntry& entry) const;
    int EntryOf(int row) const;
    bool RowChecked(int row) const;
    void btnAddClick();

    std::set<std::wstring> listed_;  // the programs the list holds already
    std::vector<StartMenuEntry> entries_;
    std::vector<bool> inList_;            // by entry: shown checked and greyed, never added again
    std::vector<std::wstring> rowNames_;  // by row, in the order shown
    std::shared_ptr<std::atomic<bool>> stop_;
    std::map<std::wstring, LPARAM> rowOfLink_;  // a shortcut's path, its entry
    bool reading_ = false;
    bool iconsComing_ = false;
    int added_ = 0;
};
