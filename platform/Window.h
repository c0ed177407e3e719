// The one way a window of the program meets its object: the object is bound
// to its window on WM_NCCREATE, one window procedure hands every message to
// it, and an exception from a handler ends in the program's error box
// instead of unwinding through Windows or ending the resident program.
#pragma once
#include <windows.h>

#include <exception>
#include <memory>
#include <optional>

// A window class of the program's own. Every class is registered with the
// base's window procedure.
struct WindowClass {
    const char* name = nullptr;
    UINT style = 0;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;      // null: the standard arrow
    HBRUSH background = nullptr;   // a brush or a system colour index + 1
    int windowExtra = 0;
};

// Registers the class for the program's instance unless it is registered
// already; true when it is registered now.
bool RegisterWindowClass(const WindowClass& windowClass);

class Window {
public:
    // Destroys the window if it is still there, without its messages
    // reaching the half-destroyed object.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const noexcept { return hwnd_; }
    // The window's whole picture, drawn on any DC in client coordinates.
    virtual void PaintContent(HDC) {}
    // The object bound to a window of the program's classes, or null.
    static Window* FromHandle(HWND hwnd) noexcept;
    // Hands an object whose window has just been made to that window, which
    // frees it with WM_NCDESTROY; the handle, or null (and the object freed
    // now) when there is no window.
    static HWND OwnedByWindow(std::unique_ptr<Window> window) noexcept;

protected:
    // `defaultProcedure` answers what the handlers leave: DefWindowProcA, or
    // DefDlgProcA for a window that stands on the dialog manager.
    explicit Window(WNDPROC defaultProcedure = DefWindowProcA) noexcept : default_(defaultProcedure) {}

    // Registers the class when needed and creates the window bound to this
    // object; the handle is known to the object from WM_NCCREATE on.
    HWND Create(const WindowClass& windowClass, DWORD exStyle, const char* title, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU menuOrId);
    void DestroyHandle() noexcept;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // The painting messages of a window that paints every pixel itself:
    // WM_PAINT and WM_PRINTCLIENT both draw through PaintContent (the second
    // lets a test draw the window into a memory DC), and the background is
    // not erased first, which would flicker. Nothing for other messages.
    std::optional<LRESULT> PaintMessage(UINT message, WPARAM wParam);
    // The window is gone; the object is unbound already and may delete itself.
    virtual void WindowDestroyed() noexcept {}

private:
    friend bool RegisterWindowClass(const WindowClass& windowClass);
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND hwnd_ = nullptr;
    WNDPROC default_;
    bool ownedByWindow_ = false;
};

// A window whose messages go to a plain procedure: the core's windows, which
// keep their state in the program's own variables. It lives as long as its
// window.
using WindowHandler = LRESULT (*)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateHandlerWindow(const WindowClass& windowClass, WindowHandler handler, DWORD exStyle, const char* title,
                         DWORD style, int x, int y, int width, int height);

// The error boundary. Called inside a catch block: shows the exception as the
// program's error message. An error raised while that box is open (a paint
// that fails again and again under it) is not stacked on top of it.
void ReportHandlerError() noexcept;

// Runs `f` inside the boundary; false when it threw.
template <class F>
bool Guarded(F&& f) noexcept
{
    try {
        f();
        return true;
    } catch (...) {
        ReportHandlerError();
        return false;
    }
}
