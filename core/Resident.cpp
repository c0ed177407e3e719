#include "core/Resident.h"

#include "core/CommandWindow.h"
#include "core/KeyWatcher.h"
#include "core/LaunchFile.h"
#include "core/LaunchList.h"
#include "core/OneCopy.h"
#include "core/Settings.h"
#include "core/Splash.h"
#include "core/TrayIcon.h"
#include "dialogs/ItemListEditor.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"
#include "platform/Window.h"

HWND MainWindow = nullptr;
HINSTANCE ProgramInstance = nullptr;

namespace {

void LoadSettingsOrDefaults()
{
    try {
        LoadSettings();
    } catch (const SettingsError& e) {
        // A damaged settings key must not keep the launcher from starting.
        ShowErrorMessage(e.what());
        DefaultSettings();
    }
}

void OnDestroy()
{
    DeleteTrayIcon();
    PostQuitMessage(0);
}

void OnQuitRequest(HWND hwnd)
{
    DeleteTrayIcon();
    FreeLaunchLists();
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    QuitFlag = true;
}

void OnActivateApp(WPARAM wParam)
{
    if ((wParam & 0xFF) == 0)
        ResetHideCountdownOnDeactivate();
}

}  // namespace

namespace {
WindowClass MainWindowClass()
{
    return {.name = kMainWindowClass, .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(15))};
}
}  // namespace

bool RegisterMainWindowClass() { return RegisterWindowClass(MainWindowClass()); }

HWND CreateMainWindow()
{
    return CreateHandlerWindow(MainWindowClass(), MainWndProc, WS_EX_TOOLWINDOW, kAppTitle, WS_POPUP, 0, 0, 0, 0);
}

void HideMainWindow()
{
    ShowWindow(MainWindow, SW_HIDE);
    ShowWindow(MainWindow, SW_MINIMIZE);
    ShowWindow(MainWindow, SW_HIDE);
}

void ShowFirstRun()
{
    ShowWindow(MainWindow, SW_HIDE);
    DialogShown = true;
    ShowMessageBox(MainWindow, kFirstRunText, kAppTitle, MB_ICONINFORMATION | MB_OK);
    DialogShown = false;
    RunItemListEditor();
}

void InitResident()
{
    ShowSplash();
    LoadSettingsOrDefaults();
    CreateLaunchLists();
    // An unreadable file has been reported; it is not a first run, and nothing
    // replaces the file unless the user saves a list.
    const LaunchLoadResult loaded = LoadLaunchList();
    if (loaded != LaunchLoadResult::Unreadable && LaunchItemCount() == 0) {
        HideSplash(false);
        ShowFirstRun();
    }
    CreateCommandWindow();
    CreateLaunchMenu();
    BuildIconStrip();
    if (Settings.ReloadItems) {
        SaveIconStrip();
        FreeIconStrip();
        FreeLaunchLists();
    }
    HideSplash(true);
    AddTrayIcon();
    HideMainWindow();
    HideCountdown = 0;
}

void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    if (Settings.DoubleKeyedPopup)
        WatchDoubleKey();
    if (HideCountdownTick())
        HideMainWindow();
}

void RunMessageLoop()
{
    // One message per pass, with a 10 ms nap while the menu is hidden: the
    // resident program costs next to nothing. The open menu waits for its
    // next message instead of polling: it reacts at once and burns no core.
    // WM_QUIT is dispatched like any message; only QuitFlag ends the loop.
    while (!QuitFlag) {
        if (!MenuShown)
            Sleep(kTimerPeriodMs);
        else
            MsgWaitForMultipleObjectsEx(0, nullptr, kOpenMenuWaitLimitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

LRESULT MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A restarted shell has forgotten the icon: give it again.
    if (message == TaskbarCreatedMessage() && message != 0)
        AddTrayIcon();
    // A second start of this copy asks for the menu.
    if (message == OpenMenuRequestMessage() && message != 0)
        RequestLaunchMenu();
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_PAINTICON:
    case WM_NCPAINT:
        if (IsIconic(hwnd))
            return 0;
        break;
    case WM_QUIT:
        OnQuitRequest(hwnd);
        break;
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam);
        break;
    case kTrayCallbackMessage:
        TrayCallback(wParam, lParam);
        break;
    case WM_DPICHANGED:
    case WM_DISPLAYCHANGE:
        RefreshTrayIcon();
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int RunResident(HINSTANCE instance)
{
    RestrictLibrarySearch();
    ProgramInstance = instance;
    // A second start of the same copy touches nothing: it asks the running
    // one for its menu, as a click on the tray icon would, and ends.
    const std::string folder = ExecutableDirectory();
    if (!ClaimFolder(folder)) {
        AskRunningCopyForMenu(folder);
        return 0;
    }
    // The file dialog, shell icons and shortcut links want an apartment on
    // this thread for the program's whole life; the dialogs want list views
    // and tooltips.
    const OleScope ole;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterMainWindowClass();
    MainWindow = CreateMainWindow();
    PublishMainWindow(MainWindow);
    InitResident();
    const UINT_PTR timer = SetTimer(nullptr, 0, kTimerPeriodMs, TimerTick);
    RunMessageLoop();
    KillTimer(nullptr, timer);
    return 0;
}
