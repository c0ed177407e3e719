#include <doctest/doctest.h>
#include <windows.h>
#include <oleacc.h>

#include <vector>

#include "core/CommandWindow.h"
#include "menu/FolderMenu.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Raii.h"
#include "tests/win/MenuTestSupport.h"

namespace {

constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

VARIANT Child(LONG id)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Name(IAccessible* a, LONG id)
{
    BSTR name = nullptr;
    a->get_accName(Child(id), &name);
    std::wstring text = name ? name : L"";
    SysFreeString(name);
    return text;
}

LONG State(IAccessible* a, LONG id)
{
    VARIANT state{};
    a->get_accState(Child(id), &state);
    return state.lVal;
}

struct Event {
    DWORD event;
    HWND hwnd;
    LONG child;
};
std::vector<Event> g_events;
void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT)
        g_events.push_back({event, hwnd, child});
}

bool Heard(DWORD event, LONG child)
{
    for (const Event& e : g_events)
        if (e.event == event && e.hwnd == LaunchMenu->Handle() && e.child == child)
            return true;
    return false;
}

}  // namespace

TEST_CASE("a screen reader reads the launch menu's rows, follows the selection and launches through it")
{
    const ComScope com;  // as the resident program has it
    MenuFixture f;
    auto items = NumberedItems(3);
    items[2].Target = f.dir.path();  // a folder: it opens a menu of its own
    f.Create(items);
    ShellRecorder shell;
    g_events.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Record, GetCurrentProcessId(), 0,
                                         WINEVENT_OUTOFCONTEXT);
    REQUIRE(hook);
    ShowLaunchMenu();
    // Out-of-context events come through the queue: waited for, a bounded time.
    for (int waited = 0; waited < 2000 && !Heard(EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF); waited += 10)
        PumpMessages(10);
    CHECK(Heard(EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF));

    IAccessible* menu = nullptr;
    REQUIRE(AccessibleObjectFromWindow(LaunchMenu->Handle(), OBJID_CLIENT, kIidAccessible,
                                       reinterpret_cast<void**>(&menu)) == S_OK);
    LONG count = 0;
    menu->get_accChildCount(&count);
    CHECK(count == 5);
    VARIANT role{};
    menu->get_accRole(Child(CHILDID_SELF), &role);
    CHECK(role.lVal == ROLE_SYSTEM_MENUPOPUP);
    menu->get_accRole(Child(1), &role);
    CHECK(role.lVal == ROLE_SYSTEM_MENUITEM);
    CHECK(Name(menu, 1) == L"item0");
    CHECK(Name(menu, 4) == L"キャンセル");
    CHECK(Name(menu, 5) == L"迅の終了");
    BSTR key = nullptr;
    menu->get_accKeyboardShortcut(Child(2), &key);
    CHECK(std::wstring(key ? key : L"") == L"B");
    SysFreeString(key);
    CHECK((State(menu, 3) & STATE_SYSTEM_HASPOPUP) != 0);
    CHECK((State(menu, 1) & STATE_SYSTEM_HASPOPUP) == 0);
    CHECK((State(menu, 1) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED)) ==
          (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED));
    LONG left = 0, top = 0, width = 0, height = 0;
    menu->accLocation(&left, &top, &width, &height, Child(2));
    RECT window{};
    GetWindowRect(CommandWindow, &window);
    CHECK(left == window.left);
    CHECK(top == window.top + LaunchMenu->Geometry().rowHeight);
    CHECK(height == LaunchMenu->Geometry().rowHeight);

    // Down moves the focus to the next row, and the event says so.
    g_events.clear();
    SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    for (int waited = 0; waited < 2000 && !Heard(EVENT_OBJECT_FOCUS, 2); waited += 10)
        PumpMessages(10);
    CHECK(Heard(EVENT_OBJECT_FOCUS, 2));
    CHECK_FALSE(Heard(EVENT_OBJECT_SELECTION, 2));  // one event a move, as for a menu
    CHECK((State(menu, 2) & STATE_SYSTEM_FOCUSED) != 0);
    CHECK((State(menu, 1) & STATE_SYSTEM_FOCUSED) == 0);
    VARIANT focus{};
    menu->get_accFocus(&focus);
    CHECK(focus.lVal == 2);

    // A search's text row reads as text with what was typed.
    SendMessageA(LaunchMenu->Handle(), WM_CHAR, 'm', 0);
    PumpMessages(30);
    menu->get_accRole(Child(1), &role);
    CHECK(role.lVal == ROLE_SYSTEM_TEXT);
    BSTR value = nullptr;
    menu->get_accValue(Child(1), &value);
    CHECK(std::wstring(value ? value : L"") == L"m");
    SysFreeString(value);
    // Nothing found: the row that says so has the focus, and is told.
    g_events.clear();
    for (const char c : {'q', 'x', 'z'})
        SendMessageA(LaunchMenu->Handle(), WM_CHAR, c, 0);
    for (int waited = 0; waited < 2000 && !Heard(EVENT_OBJECT_FOCUS, 2); waited += 10)
        PumpMessages(10);
    CHECK(Heard(EVENT_OBJECT_FOCUS, 2));
    CHECK(Name(menu, 2) == L"（該当なし）");
    menu->get_accFocus(&focus);
    CHECK(focus.lVal == 2);
    SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);

    // In a folder's menu the focus is its row, not the opener's; back from
    // it, the opener's row is told again.
    SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    for (int waited = 0; waited < 3000 && !(DeepestFolderMenu() && IsWindowVisible(DeepestFolderMenu()->Handle()));
         waited += 10)
        PumpMessages(10);
    REQUIRE(DeepestFolderMenu());
    CHECK((State(menu, 3) & STATE_SYSTEM_FOCUSED) == 0);
    VariantClear(&focus);
    menu->get_accFocus(&focus);
    CHECK(focus.vt == VT_DISPATCH);
    VariantClear(&focus);
    g_events.clear();
    SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    for (int waited = 0; waited < 2000 && !Heard(EVENT_OBJECT_FOCUS, 3); waited += 10)
        PumpMessages(10);
    CHECK_FALSE(FolderMenusOpen());
    CHECK(Heard(EVENT_OBJECT_FOCUS, 3));
    CHECK((State(menu, 3) & STATE_SYSTEM_FOCUSED) != 0);

    // The default action launches the row as Enter does, and the menu's end is told.
    g_events.clear();
    CHECK(menu->accDoDefaultAction(Child(2)) == S_OK);
    for (int waited = 0; waited < 2000 && !Heard(EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF); waited += 10)
        PumpMessages(10);
    REQUIRE(shell.launches().size() == 1);
    CHECK(shell.launches()[0].file == "C:\\t\\item1.exe");
    CHECK(Heard(EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF));
    menu->Release();
    UnhookWinEvent(hook);
}
