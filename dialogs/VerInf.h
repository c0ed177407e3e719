// The About dialog: the program's icon, name and version, and links to the
// author's mail address and home page.
#pragma once
#include "controls/Form.h"

class TfrmVerInf : public Form {
public:
    TfrmVerInf();

    HWND Label1 = nullptr;
    HWND lblVer = nullptr;
    HWND Label5 = nullptr;  // mail address
    HWND Label4 = nullptr;  // home page
    HWND Label3 = nullptr;  // foot line
    TplButton* plButton1 = nullptr;

    void Label5Click();
    void Label4Click();

protected:
    void FormPaint(HDC dc) override;
    void Command(int id, int code, HWND control) override;

private:
    void FormCreate();
    void Button1Click();
};
