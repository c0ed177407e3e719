#include "platform/WindowCorners.h"

#include "platform/SystemLibrary.h"

namespace {

// From dwmapi.h of the Windows 11 SDK.
constexpr DWORD kWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kRoundSmall = 3;               // DWMWCP_ROUNDSMALL

using SetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

}  // namespace

void AskSmallRoundCorners(HWND popup)
{
    static const auto set = SystemFunction<SetWindowAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
    if (!set || !popup)
        return;
    const DWORD preference = kRoundSmall;
    if (FAILED(set(popup, kWindowCornerPreference, &preference, sizeof preference)))
        return;  // Windows 10 knows no such attribute
    // The system that rounds the corners draws the shadow too; the class
    // asks for it only there, so Windows 10's menus stay as they were.
    const auto style = static_cast<DWORD>(GetClassLongPtrA(popup, GCL_STYLE));
    if (!(style & CS_DROPSHADOW))
        SetClassLongPtrA(popup, GCL_STYLE, static_cast<LONG_PTR>(style | CS_DROPSHADOW));
}
