#include "core/CommandWindow.h"

#include "core/BusyFlags.h"
#include "core/ItemCommands.h"
#include "core/LaunchList.h"
#include "core/Resident.h"
#include "core/Settings.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "platform/Dialogs.h"
#include "platform/Raii.h"

HWND CommandWindow = nullptr;
TrackPopupMenuFunction TrackCommandMenu = TrackPopupMenu;

namespace {

struct CommandEntry {
    UINT identifier;  // 0: a separator
    const char* text;
};

constexpr CommandEntry kItemEntries[] = {
    {1, "アイテムの編集(&E)"},
    {2, "削除(&D)"},
    {0, nullptr},
};
// Options stands above Help.
constexpr CommandEntry kProgramEntries[] = {
    {3, "新規アイテム(&N)"},
    {4, "アイテムエディタ(&D)"},
    {0, nullptr},
    {6, "オプション(&O)"},
    {5, "ヘルプ(&H)"},
    {7, "バージョン情報(&I)"},
};

void Append(HMENU menu, const CommandEntry& e)
{
    if (e.identifier == 0)
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    else
        AppendMenuA(menu, MF_STRING, e.identifier, e.text);
}

void OnActivateApp(WPARAM wParam)
{
    // Another program took over: the menu closes, unless one of our dialogs
    // is what took the activation.
    if ((wParam & 0xFF) != 0 || DialogShown)
        return;
    CloseLaunchMenuState();
}

void OnCommand(WPARAM wParam)
{
    if (ItemCommand command = ItemCommandFor(LOWORD(wParam)))
        command();
    FocusLaunchMenu();
}

}  // namespace

HMENU BuildCommandMenu(bool itemSelected)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    if (itemSelected)
        for (const CommandEntry& e : kItemEntries)
            Append(menu, e);
    for (const CommandEntry& e : kProgramEntries)
        Append(menu, e);
    return menu;
}

void ShowCommandMenu(bool itemSelected)
{
    UniqueMenu menu(BuildCommandMenu(itemSelected));
    if (menu) {
        // Opened by the keyboard too, it still appears at the mouse pointer.
        POINT at{};
        GetCursorPos(&at);
        TrackCommandMenu(menu.get(), 0, at.x, at.y, 0, CommandWindow, nullptr);
    }
    menu.reset();
    FocusLaunchMenu();
}

void CloseLaunchMenuState()
{
    MenuShown = false;
    if (Settings.ReloadItems)
        ReleaseLaunchData();
    ShowWindow(CommandWindow, SW_HIDE);
    HideMainWindow();
}

void ReleaseLaunchData()
{
    FreeLaunchLists();
    FreeIconStrip();
}

LRESULT CALLBACK CommandWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam);
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CreateCommandWindow()
{
    const HINSTANCE instance = ProgramInstance ? ProgramInstance : GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kCommandWindowClass, &existing)) {
        WNDCLASSA wc{};
        wc.style = CS_VREDRAW | CS_HREDRAW;
        wc.lpfnWndProc = CommandWndProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(15));
        wc.lpszClassName = kCommandWindowClass;
        RegisterClassA(&wc);
    }
    CommandWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOPARENTNOTIFY, kCommandWindowClass, kAppTitle, WS_POPUP,
                                    0, 0, 200, 450, nullptr, nullptr, instance, nullptr);
}
