// The modal loop: the form shown over the program's other windows, which
// take no input until a modal result is set, and the keys offered to the
// form before the dialog manager sees them.
#include "controls/Form.h"

#include "platform/Controls.h"
#include "platform/DialogFlag.h"

namespace {

bool IsSelfOrChild(HWND form, HWND hwnd) { return hwnd && (hwnd == form || IsChild(form, hwnd)); }

// The thread's top-level windows that take input now, so that they can be
// given it back afterwards.
std::vector<HWND> DisableThreadWindows(HWND except)
{
    struct Collect {
        HWND except;
        std::vector<HWND> windows;
    } collect{except, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(lParam);
            if (hwnd != c->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
                c->windows.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    for (HWND hwnd : collect.windows)
        EnableWindow(hwnd, FALSE);
    return collect.windows;
}

void EnableWindows(const std::vector<HWND>& windows)
{
    for (HWND hwnd : windows)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
}

}  // namespace

void Form::SetModalResult(int result) noexcept
{
    modalResult_ = result;
    // A result set while a message sent from elsewhere is handled would wait
    // for the next posted message: wake the loop.
    if (result != mrNone && showing_)
        PostMessageA(Handle(), WM_NULL, 0, 0);
}

void Form::Close() noexcept
{
    if (modalResult_ == mrNone)
        SetModalResult(mrCancel);
}

int Form::ShowModal(HWND owner)
{
    const DialogShownScope busy;
    modalResult_ = mrNone;
    if (owner)
        SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (FitText()) {
        PlaceControls();
        ApplyClientSize();
    }
    PlaceOnScreen(owner);
    // The forms have no owner for the system to give the activation back to:
    // the window active before (the launch menu, an outer form) gets it.
    const HWND previousActive = GetActiveWindow();
    const std::vector<HWND> disabled = DisableThreadWindows(Handle());
    showing_ = true;
    Guarded([&] { FormShow(); });
    // Focus marks and access keys as the user's last input calls for: hidden
    // after the mouse, shown after the keyboard.
    SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE))
        FocusControl(first);
    UpdateWindow(Handle());

    bool quit = false;
    WPARAM quitCode = 0;
    while (modalResult_ == mrNone) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            modalResult_ = mrCancel;
            break;
        }
        if (got == -1)
            break;
        ShowCuesForKeyboard(msg);
        if (PreviewKey(msg))
            continue;
        if (IsSelfOrChild(Handle(), msg.hwnd) && Captured(msg))
            continue;
        if (IsDialogMessageW(Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (modalResult_ == mrNone)
        modalResult_ = mrCancel;
    Guarded([&] { FormClose(); });
    showing_ = false;
    // Give the other windows their input back before this one goes, or the
    // activation jumps to another program.
    EnableWindows(disabled);
    if (previousActive && previousActive != Handle() && IsWindowVisible(previousActive))
        SetForegroundWindow(previousActive);
    ShowWindow(Handle(), SW_HIDE);
    if (owner)
        SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, 0);
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return modalResult_;
}

void Form::ShowCuesForKeyboard(const MSG& msg)
{
    // The focus marks and the underlined access keys show from the moment
    // the keyboard is used to move about the form.
    const bool navigation = (msg.message == WM_KEYDOWN && (msg.wParam == VK_TAB || (msg.wParam >= VK_LEFT &&
                                                                                     msg.wParam <= VK_DOWN))) ||
                            (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU);
    if (!navigation || !IsSelfOrChild(Handle(), msg.hwnd))
        return;
    const LRESULT hidden = SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0);
    if (hidden & (UISF_HIDEFOCUS | UISF_HIDEACCEL))
        SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

bool Form::PreviewKey(const MSG& msg)
{
    if (!style_.keyPreview || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) ||
        !IsSelfOrChild(Handle(), msg.hwnd))
        return false;
    bool consumed = false;
    Guarded([&] { consumed = FormKeyDown(msg.wParam); });
    return consumed;
}

bool Form::Captured(MSG& msg)
{
    bool handled = false;
    Guarded([&] { handled = CaptureMessage(msg); });
    return handled;
}
