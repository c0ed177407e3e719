#include "core/CommandWindow.h"

#include "core/BusyFlags.h"
#include "core/ItemCommands.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/FolderMenu.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "menu/LaunchRow.h"
#include "platform/Dialogs.h"
#include "platform/Raii.h"
#include "platform/Seams.h"
#include "platform/Window.h"
#include "platform/WindowCorners.h"

namespace {

struct CommandEntry {
    UINT identifier;  // 0: a separator
    const char* text;
};

constexpr UINT kOpenLocation = 8;
constexpr CommandEntry kItemEntries[] = {
    {1, "アイテムの編集(&E)"},
    {2, "削除(&D)"},
    {kOpenLocation, "ファイルの場所を開く(&L)"},
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

// The dropped row moves, the list is saved at once and the menu shown again.
void DropRow(int source, int target)
{
    // The rows dragged were those of a list edited by hand since: the menu
    // shows the file's list instead, and nothing moves.
    if (TakeHandEdits()) {
        ReloadLaunchMenu();
        return;
    }
    const int count = LaunchItemCount();
    if (!LaunchListsPresent() || source < 0 || source >= count || target < 0 || target >= count)
        return;  // rows of a list that has changed underneath
    MoveLaunchItem(source, target);
    SaveLaunchList();
    ReloadLaunchMenu();
}

void OnLaunchMenuNotice(const LaunchMenuNotice& notice)
{
    switch (notice.header.code) {
    case kLmnRowChosen:
        LaunchRow(notice.row, notice.elevated);
        break;
    case kLmnCommandMenu:
        ShowCommandMenu(LaunchMenu && LaunchMenu->SelectedRef() >= 0);
        break;
    case kLmnClosed:
        // Escape gives the foreground back; a click outside only closes.
        if (notice.handBack)
            HandForegroundBack();
        else
            CloseLaunchMenuState();
        break;
    case kLmnReordered:
        DropRow(notice.row, notice.target);
        break;
    case kLmnRowsChanged:
        RefitLaunchMenu();
        break;
    default:
        break;
    }
}

}  // namespace

HMENU BuildCommandMenu(bool itemSelected, bool hasLocation)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    if (itemSelected) {
        for (const CommandEntry& e : kItemEntries)
            Append(menu, e);
        if (!hasLocation)
            EnableMenuItem(menu, kOpenLocation, MF_BYCOMMAND | MF_GRAYED);
    }
    for (const CommandEntry& e : kProgramEntries)
        Append(menu, e);
    return menu;
}

void ShowCommandMenu(bool itemSelected)
{
    // A web address, or a bare name the system looks for, has no place to show.
    const int ref = LaunchMenu && itemSelected ? LaunchMenu->SelectedRef() : -1;
    const bool hasLocation = LaunchListsPresent() && ref >= 0 && ref < LaunchItemCount() &&
                             TargetHasLocation(LaunchLists->TargetList[static_cast<std::size_t>(ref)]);
    UniqueMenu menu(BuildCommandMenu(itemSelected, hasLocation));
    if (menu) {
        // Opened by the keyboard too, it still appears at the mouse pointer.
        POINT at{};
        GetCursorPos(&at);
        TrackPopup(menu.get(), 0, at.x, at.y, 0, CommandWindow, nullptr);
    }
    menu.reset();
    FocusLaunchMenu();
}

LRESULT CommandWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam);
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    case WM_CLOSE:
        // Alt+F4 on the menu closes it as Escape does; the window stays.
        if (MenuShown && !DialogShown)
            HandForegroundBack();
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (LaunchMenu && header->hwndFrom == LaunchMenu->Handle())
            OnLaunchMenuNotice(*reinterpret_cast<const LaunchMenuNotice*>(lParam));
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CreateCommandWindow()
{
    const WindowClass commandClass{.name = kCommandWindowClass,
                                   .style = CS_VREDRAW | CS_HREDRAW,
                                   .icon = LoadIconA(nullptr, IDI_APPLICATION),
                                   .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(15))};
    CommandWindow = CreateHandlerWindow(commandClass, CommandWndProc, WS_EX_TOOLWINDOW | WS_EX_NOPARENTNOTIFY,
                                        kAppTitle, WS_POPUP, 0, 0, 200, 450);
    AskSmallRoundCorners(CommandWindow);
}
