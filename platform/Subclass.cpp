#include "platform/Subclass.h"

#include "platform/Window.h"

namespace {

// The window property that holds the subclass of a control. An ANSI subclass
// (SetWindowLongPtrA): the control's characters stay code-page bytes.
constexpr const char* kSubclassProperty = "VlcrSubclass";

struct Subclass {
    SubclassHandler handler;
    WNDPROC original;
};

Subclass* SubclassOf(HWND control) { return static_cast<Subclass*>(GetPropA(control, kSubclassProperty)); }

LRESULT CALLBACK SubclassProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    Subclass* subclass = SubclassOf(control);
    if (!subclass)
        return DefWindowProcA(control, message, wParam, lParam);
    const WNDPROC original = subclass->original;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(control, kSubclassProperty);
        delete subclass;
        return CallWindowProcA(original, control, message, wParam, lParam);
    }
    try {
        if (const std::optional<LRESULT> answer = subclass->handler(message, wParam, lParam))
            return *answer;
    } catch (...) {
        ReportHandlerError();
        return 0;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

}  // namespace

void SubclassControl(HWND control, SubclassHandler handler)
{
    auto* subclass = new Subclass{std::move(handler), nullptr};
    SetPropA(control, kSubclassProperty, subclass);
    subclass->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProcedure)));
}

LRESULT ControlDefault(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Subclass* subclass = SubclassOf(control);
    return subclass ? CallWindowProcA(subclass->original, control, message, wParam, lParam)
                    : DefWindowProcA(control, message, wParam, lParam);
}
