#include "core/Resident.h"

#include "core/AddFromOutside.h"
#include "core/CommandWindow.h"
#include "core/KeyWatcher.h"
#include "core/OneCopy.h"
#include "core/Splash.h"
#include "core/TrayIcon.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "dialogs/ItemListEditor.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/HighContrast.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"
#include "platform/TaskbarTheme.h"
#include "platform/Window.h"

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
    // Another program took over: the main window is hidden once, 300 ms
    // after the last such loss, unless the menu or a dialog is up (the menu's
    // closing hides it then).
    if ((wParam & 0xFF) == 0 && !MenuShown && !DialogShown)
        SetTimer(MainWindow, kHideTimer, kHideAfterMs, nullptr);
}

void OnHideTimer()
{
    KillTimer(MainWindow, kHideTimer);
    if (!MenuShown && !DialogShown)
        HideMainWindow();
}

constexpr UINT kWmAddPendingPaths = WM_APP + 0x60;
constexpr UINT_PTR kPendingPathsTimer = 9;
std::vector<std::vector<std::wstring>> pendingPaths;

// Another start's paths are copied and the start let go at once: adding
// them may ask the disk and the shell, and may show a message.
LRESULT TakePathsFromAnotherStart(const COPYDATASTRUCT& data)
{
    std::vector<std::wstring> paths = PathsFromCopyData(data);
    if (paths.empty())
        return FALSE;
    pendingPaths.push_back(std::move(paths));
    PostMessageA(MainWindow, kWmAddPendingPaths, 0, 0);
    return TRUE;
}

void AddPendingPaths()
{
    // While a dialog is open the list is the dialog's: the paths wait for it.
    if (DialogShown) {
        SetTimer(MainWindow, kPendingPathsTimer, 500, nullptr);
        return;
    }
    KillTimer(MainWindow, kPendingPathsTimer);
    std::vector<std::vector<std::wstring>> taken;
    taken.swap(pendingPaths);
    for (const auto& paths : taken)
        AddPathsFromOutside(paths);
}

void OnTimer(WPARAM id)
{
    switch (id) {
    case kHideTimer: OnHideTimer(); break;
    case kTapTimer: ExpireDoubleTap(); break;
    case kTrayRetryTimer: RetryTrayIcon(); break;
    case kPendingPathsTimer: AddPendingPaths(); break;
    default: break;
    }
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
    // Only a missing or empty file is a first run. An unreadable one has been
    // reported, and one with text but no items (a list emptied on purpose, an
    // encoding misread) is the user's: nothing replaces either unless the
    // user saves a list.
    const LaunchLoadResult loaded = LoadLaunchList();
    if (loaded == LaunchLoadResult::Missing || loaded == LaunchLoadResult::Empty) {
        HideSplash(false);
        ShowFirstRun();
    }
    CreateCommandWindow();
    CreateLaunchMenu();
    // From the cache when it was made for this list; otherwise the icons
    // come in the background, and the tray icon does not wait for them.
    LoadIconStrip();
    if (Settings.ReloadItems) {
        FreeLaunchLists();
        ReleaseIconStrip();
    }
    HideSplash(true);
    AddTrayIcon();
    HideMainWindow();
    FollowDoubleKeySetting();
}

void RunMessageLoop()
{
    // The thread sleeps until a message comes, and every message there is
    // handled: the resident program costs nothing while nothing happens.
    // WM_QUIT is dispatched like any message; only QuitFlag ends the loop.
    MSG msg;
    while (!QuitFlag && GetMessageA(&msg, nullptr, 0, 0) != -1) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

namespace {

BOOL CALLBACK RedrawOne(HWND window, LPARAM)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

void FollowSystemLook(UINT message, LPARAM lParam)
{
    // High contrast turned on or off, the theme's colours or the taskbar's
    // light or dark changed: every window of the program is drawn anew in
    // the colours that hold now.
    RefreshHighContrast();
    const auto* area = reinterpret_cast<const char*>(lParam);
    if (message == WM_THEMECHANGED || (message == WM_SETTINGCHANGE && area && lstrcmpA(area, "ImmersiveColorSet") == 0))
        RefreshTaskbarTheme();
    EnumThreadWindows(GetCurrentThreadId(), RedrawOne, 0);
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
    case WM_CLOSE:
        // "End task" and taskkill ask with this: the program quits as from
        // its menu, instead of losing its window and living on.
        OnQuitRequest(hwnd);
        return 0;
    case WM_INPUT:
        WatchRawInput(reinterpret_cast<HRAWINPUT>(lParam));
        break;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
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
    case WM_COPYDATA:
        return TakePathsFromAnotherStart(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kWmAddPendingPaths:
        AddPendingPaths();
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        FollowSystemLook(message, lParam);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int RunResident(HINSTANCE instance)
{
    RestrictLibrarySearch();
    // Under another code page every caption would be garbled and the paths
    // in Launch.ini would name other files: nothing is touched.
    if (!RequireJapaneseCodePage())
        return 1;
    ProgramInstance = instance;
    // A second start of the same copy touches nothing: it asks the running
    // one for its menu, as a click on the tray icon would, and ends.
    const std::string folder = ExecutableDirectory();
    // Paths given ("送る", a drop onto vlcr.exe) are added, by the running
    // copy of this folder when there is one.
    const std::vector<std::wstring> paths = PathsFromCommandLine();
    if (!ClaimFolder(folder)) {
        if (paths.empty())
            AskRunningCopyForMenu(folder);
        else
            SendPathsToRunningCopy(folder, paths);
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
    // A copy run as administrator still takes the paths of a later start.
    ChangeWindowMessageFilterEx(MainWindow, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    InitResident();
    AddPathsFromOutside(paths);
    RunMessageLoop();
    return 0;
}
