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
    // Windows 11 rounds a popup and draws its shadow once asked; Windows 10
    // refuses the attribute and leaves the menu square, as it always was.
    static const auto set = SystemFunction<SetWindowAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
    if (!set || !popup)
        return;
    const DWORD preference = kRoundSmall;
    set(popup, kWindowCornerPreference, &preference, sizeof preference);
}
