#include "platform/Window.h"

#include <memory>

#include "platform/Dialogs.h"

namespace {

HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }

bool g_reporting = false;

// The plain-procedure window of CreateHandlerWindow.
class HandlerWindow final : public Window {
public:
    explicit HandlerWindow(WindowHandler handler) noexcept : handler_(handler) {}
    void Open(const WindowClass& windowClass, DWORD exStyle, const char* title, DWORD style, int x, int y, int width,
              int height)
    {
        Create(windowClass, exStyle, title, style, x, y, width, height, nullptr, nullptr);
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return handler_(Handle(), message, wParam, lParam);
    }

    WindowHandler handler_;
};

}  // namespace

bool RegisterWindowClass(const WindowClass& windowClass)
{
    const HINSTANCE instance = ProgramModule();
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, windowClass.name, &wc))
        return true;
    wc = WNDCLASSA{};
    wc.style = windowClass.style;
    wc.lpfnWndProc = Window::Procedure;
    wc.cbWndExtra = windowClass.windowExtra;
    wc.hInstance = instance;
    wc.hIcon = windowClass.icon;
    wc.hCursor = windowClass.cursor ? windowClass.cursor : LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    return RegisterClassA(&wc) != 0;
}

Window::~Window() { DestroyHandle(); }

Window* Window::FromHandle(HWND hwnd) noexcept
{
    WNDCLASSA wc{};
    char name[256] = {};
    // Only windows of the base's own procedure carry an object.
    if (!hwnd || !GetClassNameA(hwnd, name, sizeof name) || !GetClassInfoA(ProgramModule(), name, &wc) ||
        wc.lpfnWndProc != Procedure)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

HWND Window::Create(const WindowClass& windowClass, DWORD exStyle, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId)
{
    RegisterWindowClass(windowClass);
    CreateWindowExA(exStyle, windowClass.name, title, style, x, y, width, height, parent, menuOrId, ProgramModule(),
                    this);
    return hwnd_;
}

HWND Window::OwnedByWindow(std::unique_ptr<Window> window) noexcept
{
    const HWND hwnd = window ? window->hwnd_ : nullptr;
    if (hwnd)
        window.release()->ownedByWindow_ = true;
    return hwnd;
}

void Window::DestroyHandle() noexcept
{
    if (!hwnd_)
        return;
    const HWND hwnd = hwnd_;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    return default_(hwnd_, message, wParam, lParam);
}

std::optional<LRESULT> Window::PaintMessage(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        // Guarded here, so that the paint still ends: a paint that failed and
        // never ended would come back at once, again and again.
        Guarded([&] { PaintContent(dc); });
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintContent(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return std::nullopt;
    }
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        if (auto* created = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams)) {
            created->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        const LRESULT result = self->default_(hwnd, message, wParam, lParam);
        self->WindowDestroyed();
        if (self->ownedByWindow_)
            delete self;
        return result;
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportHandlerError();
        return 0;
    }
}

void ReportHandlerError() noexcept
{
    if (g_reporting)
        return;
    g_reporting = true;
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            ShowErrorMessage(e.what());
        } catch (...) {
            ShowErrorMessage("Unknown error");
        }
    } catch (...) {
        // Not even the box could be shown (no memory left for its text).
    }
    g_reporting = false;
}

HWND CreateHandlerWindow(const WindowClass& windowClass, WindowHandler handler, DWORD exStyle, const char* title,
                         DWORD style, int x, int y, int width, int height)
{
    auto window = std::make_unique<HandlerWindow>(handler);
    window->Open(windowClass, exStyle, title, style, x, y, width, height);
    return Window::OwnedByWindow(std::move(window));
}
