#include "platform/Controls.h"

std::string ControlText(HWND control)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetControlText(HWND control, const std::string& text) { SetWindowTextA(control, text.c_str()); }

bool IsChecked(HWND checkBox) { return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND checkBox, bool checked)
{
    SendMessageA(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FocusControl(HWND control)
{
    HWND form = GetAncestor(control, GA_ROOT);
    SendMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}
