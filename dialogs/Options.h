// The options dialog: the double press and its key, start with Windows, the
// memory-saving mode, the menu's icons, "送る" and the menu's colours. The boxes and the key field
// change the live settings at once; "閉じる" saves them, and every way of
// closing reads back what the registry holds.
#pragma once
#include <optional>

#include "controls/Form.h"
#include "dialogs/KeyNames.h"

inline constexpr const char* kMsgSendToFailed = "「送る」メニューの設定に失敗しました";

class TfrmOption : public Form {
public:
    TfrmOption();

    HWND cbCtrl = nullptr, Label1 = nullptr, edtKey = nullptr, cbStartup = nullptr;
    HWND cbReload = nullptr, cbIcon = nullptr;
    HWND cbSendTo = nullptr;                   // 「送る」メニューに登録する
    HWND Label2 = nullptr, cbTheme = nullptr;  // 配色
    TplButton* plButton1 = nullptr;  // キャンセル
    TplButton* plButton2 = nullptr;  // 閉じる
    HMENU MainMenu1 = nullptr, Help1 = nullptr;

    static constexpr int kH1 = 900;
    static constexpr int kAbout1 = 901;

protected:
    void FormShow() override;
    void FormClose() override;
    void FormPaint(HDC dc) override;
    void FormFitText() override;
    void Command(int id, int code, HWND control) override;
    bool CaptureMessage(MSG& msg) override;

private:
    void cbCtrlClick();
    void cbStartupClick();
    void cbReloadClick();
    void cbIconClick();
    void cbThemeChange();
    void edtKeyKeyDown(WPARAM key, LPARAM flags);
    void edtKeyKeyPress(unsigned char typed);
    void btnCloseClick();
    void ApplySendTo();
    void Button1Click();
    void H1Click();
    void About1Click();
    void ShowKey(const CapturedKey& key);
    std::optional<LRESULT> KeyEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

