#include "core/Splash.h"

#include "core/ProgramWindows.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"
#include "platform/Dpi.h"
#include "platform/HighContrast.h"
#include "platform/Scaling.h"
#include "platform/Window.h"
#include "platform/WindowHelpers.h"
#include "res/version.h"

HWND SplashWindow = nullptr;

namespace {

constexpr Colour kGradientStart = 0x00FF7030;
constexpr Colour kPaper = 0x00DDE7EC;
constexpr COLORREF kStatusColour = 0x00000000;
constexpr COLORREF kNameColour = 0x00FFA570;
constexpr const char* kStatusText = "起動中...ver." VLCR_VERSION_TEXT;
constexpr const char* kNameText = "-velocara-";

HINSTANCE SplashInstance() { return ProgramInstance ? ProgramInstance : GetModuleHandleA(nullptr); }

UniqueFont MakeFont(int height, BYTE charset, const char* face)
{
    return UniqueFont(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face));
}

// Each text gets its font selected only for itself; the guard puts the DC's
// own font back before the font is deleted.
void DrawOneText(HDC dc, int x, int y, const char* text, const UniqueFont& font, COLORREF colour)
{
    const SelectGuard selected(dc, font.get());
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text, lstrlenA(text));
}

}  // namespace

void PaintSplash(HDC dc, int dpi)
{
    if (dpi <= 0)
        dpi = SystemDpi();
    const auto px = [dpi](int length) { return Scale(length, dpi); };
    // Both fills reach past the window's bottom and right edges; the window
    // clips them.
    const bool contrast = HighContrastOn();
    if (contrast) {
        const RECT all{0, 0, px(280), px(100)};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    } else {
        FillGradient(dc, true, RECT{0, 0, px(120), px(100)}, kGradientStart, kPaper);
        const UniqueBrush paper(CreateSolidBrush(kPaper));
        const RECT solid{px(120), 0, px(280), px(100)};
        FillRect(dc, &solid, paper.get());
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    // The program's large icon, from its own image of that size.
    if (const UniqueIcon icon{LoadProgramIcon(px(32))})
        DrawIconEx(dc, px(5), px(5), icon.get(), px(32), px(32), 0, nullptr, DI_NORMAL);
    DrawOneText(dc, px(140), px(40), kStatusText, MakeFont(px(12), SHIFTJIS_CHARSET, "MS UI Gothic"),
                ContrastColour(kStatusColour, COLOR_WINDOWTEXT));
    DrawOneText(dc, px(60), 0, kNameText, MakeFont(px(36), ANSI_CHARSET, "IMPACT"),
                ContrastColour(kNameColour, COLOR_WINDOWTEXT));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void ShowSplash()
{
    const WindowClass splashClass{.name = kSplashWindowClass,
                                  .style = CS_VREDRAW | CS_HREDRAW,
                                  .icon = LoadIconA(nullptr, IDI_APPLICATION),
                                  .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(15))};
    // Painted once from here, never by a handler: every message goes on to
    // the default procedure. At the DPI of the monitor it appears on.
    const int dpi = MonitorDpi(MonitorFromPoint(POINT{kSplashLeft, kSplashTop}, MONITOR_DEFAULTTOPRIMARY));
    SplashWindow = CreateHandlerWindow(splashClass, DefWindowProcA, WS_EX_TOOLWINDOW, kAppTitle, WS_POPUP,
                                       Scale(kSplashLeft, dpi), Scale(kSplashTop, dpi), Scale(kSplashWidth, dpi),
                                       Scale(kSplashHeight, dpi));
    if (!SplashWindow)
        return;
    ShowWindow(SplashWindow, SW_SHOW);
    // The pending erase and paint run now, so that they come before the
    // picture and not over it once the window is on screen.
    UpdateWindow(SplashWindow);
    {
        const WindowDc dc(SplashWindow);
        if (dc)
            PaintSplash(dc.get(), dpi);
    }
    // Start-up looks at no queue until it is over, and Wine hands a window's
    // drawing to the X server only when its thread looks at its queue: let
    // the splash's own messages through once.
    MSG msg;
    while (PeekMessageA(&msg, SplashWindow, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void HideSplash(bool destroy)
{
    if (SplashWindow)
        ShowWindow(SplashWindow, SW_HIDE);
    if (!destroy)
        return;
    if (SplashWindow)
        DestroyWindow(SplashWindow);
    SplashWindow = nullptr;
    UnregisterClassA(kSplashWindowClass, SplashInstance());
}
