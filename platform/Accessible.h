// What the program's own windows tell screen readers (MSAA; UI Automation
// reads it through the system's bridge). A window that draws itself names
// itself and its parts through an AccessibleSource and answers WM_GETOBJECT
// with an AccessibleAnswer; the parts are simple children, 1 to n.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <string_view>

struct AccessibleFacts {
    std::wstring name;
    std::wstring keyboardShortcut;
    std::wstring defaultAction;
    std::wstring value;
    LONG role = ROLE_SYSTEM_CLIENT;
    LONG state = 0;
    RECT screen{};  // where it is on the screen
};

class AccessibleSource {
public:
    virtual ~AccessibleSource() = default;
    virtual HWND AccessibleWindow() const = 0;
    virtual int AccessibleChildCount() const { return 0; }
    // Child 0 is the window itself.
    virtual AccessibleFacts DescribeAccessible(int child) const = 0;
    // Does what the default action says; false when it has none.
    virtual bool DoAccessibleDefault(int) { return false; }
    // The child with the keyboard focus (0: the window itself), or -1.
    virtual int AccessibleFocus() const { return GetFocus() == AccessibleWindow() ? 0 : -1; }
    // Another of the program's windows that holds this one's focus for it (a
    // submenu the keys go to): its object answers accFocus. Null: none.
    virtual HWND AccessibleFocusHolder() const { return nullptr; }
    // The child at a screen point (0: the window but no child), or -1.
    virtual int AccessibleChildAt(POINT) const { return 0; }
};

class AccessibleObject;

// The window's one accessible object, made when first asked for and cut
// loose from the window when the window goes: a screen reader that still
// holds it then gets "disconnected" answers, never a dead window's data.
class AccessibleAnswer {
public:
    explicit AccessibleAnswer(AccessibleSource& source) noexcept : source_(source) {}
    ~AccessibleAnswer();
    AccessibleAnswer(const AccessibleAnswer&) = delete;
    AccessibleAnswer& operator=(const AccessibleAnswer&) = delete;

    // WM_GETOBJECT: the object for OBJID_CLIENT, otherwise nothing (0) so
    // that the window procedure passes the message on.
    LRESULT Answer(WPARAM wParam, LPARAM lParam);

private:
    AccessibleSource& source_;
    AccessibleObject* object_ = nullptr;
};

// A screen point over the window, in its client coordinates; false when the
// point is not over it (for accHitTest).
bool ClientPointOf(HWND window, POINT screen, POINT& client);

// Tells screen readers that something happened to the window's client or
// one of its children (NotifyWinEvent).
void TellAccessibleEvent(DWORD event, HWND window, int child);

// Text in the ANSI code page as screen readers get it.
std::wstring AccessibleText(std::string_view ansi);
// A caption's name without its "&", and its access key ("Alt+X") or "".
std::wstring CaptionName(std::string_view ansiCaption);
std::wstring CaptionAccessKey(std::string_view ansiCaption);
