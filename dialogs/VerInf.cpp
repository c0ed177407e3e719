#include "dialogs/VerInf.h"

#include "controls/PlButton.h"
#include "platform/Controls.h"
#include "platform/ShellHelpers.h"
#include "res/version.h"

namespace {

constexpr FormStyle kStyle{
    .caption = "迅 のバージョン情報",
    .clientWidth = 274,
    .clientHeight = 129,
    .frame = FormFrame::Dialog,
    .color = kFormColor,
    .position = FormPosition::OwnerFormCenter,
    .keyPreview = false,
    // Nothing is lost by leaving an About box with Escape.
    .escapeCloses = true,
};

constexpr COLORREF kLinkColor = 0x00FF0000;
constexpr COLORREF kNavy = 0x00800000;

}  // namespace

TfrmVerInf::TfrmVerInf() : Form(kStyle)
{
    // The icon's own image for the size it is drawn at, shared: never destroyed.
    AddImage(40, 8, 32, 32,
             static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, Px(32), Px(32),
                                           LR_SHARED)));
    LabelStyle title;
    title.color = kNavy;
    title.font = MakeFont("Times New Roman", -16, ANSI_CHARSET);
    Label1 = AddLabel(72, 16, 193, 24, " -velocara-", title);
    LabelStyle right;
    right.align = LabelAlign::Right;
    lblVer = AddLabel(64, 32, 193, 17, "Version  ---", right);
    LabelStyle link = right;
    link.link = true;
    link.color = kLinkColor;
    link.font = MakeFont("ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, true);
    Label5 = AddLabel(123, 56, 142, 12, VLCR_AUTHOR_MAIL, link);
    Label4 = AddLabel(52, 72, 213, 12, VLCR_HOME_PAGE, link);
    AddTopBevel(8, 96, 257, 9);
    Label3 = AddLabel(16, 107, 153, 12, VLCR_FOOT_LINE);
    plButton1 = &AddDialogButton(184, 104, 81, 22, "plButton1", "OK", mrOk);
    FormCreate();
}

void TfrmVerInf::FormCreate() { SetControlText(lblVer, "Version " VLCR_VERSION_TEXT); }

void TfrmVerInf::FormPaint(HDC dc)
{
    PaintAccentStrip(dc, 60);
}

void TfrmVerInf::Command(int id, int code, HWND control)
{
    if (plButton1 && control == plButton1->Handle() && code == BN_CLICKED)
        Button1Click();
    else if (control == Label5 && code == STN_CLICKED)
        Label5Click();
    else if (control == Label4 && code == STN_CLICKED)
        Label4Click();
    (void)id;
}

void TfrmVerInf::Button1Click() { Close(); }

// The links open exactly what they show.
void TfrmVerInf::Label5Click() { ShellOpen(Handle(), "mailto:" + ControlText(Label5), ""); }

void TfrmVerInf::Label4Click() { ShellOpen(Handle(), ControlText(Label4), ""); }
