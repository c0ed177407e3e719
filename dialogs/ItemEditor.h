// The item editor: the five fields of one launch item and whether it is the
// one a double click on the notification icon runs.
#pragma once
#include <optional>

#include "controls/Form.h"
#include "dialogs/ItemEditorText.h"

class TfrmLchSet : public Form {
public:
    TfrmLchSet();
    ~TfrmLchSet() override;

    // Fills the fields from item `index`, shows the form modally over
    // `owner` and returns the modal result: mrOk when the item was stored.
    int EditItem(int index, HWND owner = nullptr);

    HWND Label6 = nullptr, Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label7 = nullptr;
    HWND Label4 = nullptr, Label5 = nullptr;
    HWND edtName = nullptr, edtLaunch = nullptr, edtCmdLine = nullptr, edtDirectory = nullptr;
    HWND edtShortCut = nullptr, cbDblClick = nullptr, btnClose = nullptr;
    TplButton* plButton1 = nullptr;  // キャンセル
    TplButton* plButton2 = nullptr;  // 参照...

    int EditIndex = 0;
    bool WasDblClickItem = false;

protected:
    void FormPaint(HDC dc) override;
    void FormFitText() override;
    bool FormKeyDown(WPARAM key) override;
    void Command(int id, int code, HWND control) override;
    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void FormCreate();
    void FormDestroy();
    void btnCloseClick();
    void Button1Click();
    void btnSerchClick();
    void edtShortCutChange();
    void edtShortCutKeyPress(unsigned char typed);
    void WMDropFiles(WPARAM drop);
    void TakeChosen(const std::wstring& path);
    void TakeTarget(const std::string& path);
    std::optional<LRESULT> ShortCutMessage(UINT message, WPARAM wParam, LPARAM lParam);

    ShortCutTyping typing_;
};

inline constexpr const char* kMsgNoLaunchFile = "ランチファイルが設定されていません";
inline constexpr const char* kMsgNoLaunchFileCaption = "注意";
