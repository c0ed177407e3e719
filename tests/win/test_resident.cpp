#include <doctest/doctest.h>
#include <windows.h>

#include "controls/Form.h"
#include "core/store/LaunchEncoding.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "tests/win/FormTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {
struct ResidentState {
    TempFolder dir;
    // The first run opens the list editor: each form shown is noted and
    // cancelled at once, so that no test waits on a person.
    std::vector<std::string> formsShown;
    FormWatch cancelEach{[this](Form& form) {
        formsShown.push_back(ControlText(form.Handle()));
        form.SetModalResult(mrCancel);
    }};
    ResidentState()
    {
        TestMainWindow();
        LaunchFileDirectory = dir.path();
        MenuShown = DialogShown = QuitFlag = false;
        DeleteUserKey("Software\\Ternvale");
    }
    ~ResidentState()
    {
        LaunchFileDirectory.clear();
        FreeLaunchLists();
        DblClickCommand.clear();
        QuitFlag = false;
        DeleteUserKey("Software\\Ternvale");
    }
};

bool g_dialogShownDuringBox = false;
int BoxNotingDialogShown(HWND, const char*, const char*, UINT)
{
    g_dialogShownDuringBox = DialogShown;
    return IDOK;
}
}  // namespace

TEST_CASE("the main window: class, title, styles")
{
    const HWND hwnd = TestMainWindow();
    REQUIRE(hwnd != nullptr);
    CHECK(FindWindowA("CLASS_VLCR", "迅 -velocara-") == hwnd);
    char cls[64];
    GetClassNameA(hwnd, cls, sizeof cls);
    CHECK(std::string(cls) == "CLASS_VLCR");
    CHECK((GetWindowLongA(hwnd, GWL_STYLE) & WS_POPUP) != 0);
    CHECK((GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);
    CHECK(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND) == 15);
    RECT r;
    GetWindowRect(hwnd, &r);
    CHECK(r.right - r.left == 0);
    CHECK(r.bottom - r.top == 0);
}

TEST_CASE("the quit request sent to the main window")
{
    ResidentState state;
    CreateLaunchLists();
    AddLaunchItem();
    SendMessageA(MainWindow, WM_QUIT, 0, 0);
    CHECK(QuitFlag);
    CHECK_FALSE(LaunchListsPresent());
    // Its WM_DESTROY posted a WM_QUIT to the thread, which is just a message.
    MSG msg;
    CHECK(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(IsWindow(MainWindow));  // the windows are not destroyed one by one
}

TEST_CASE("the message loop ends on QuitFlag only, not on a WM_QUIT from the queue")
{
    ResidentState state;
    static bool timerRan = false;
    timerRan = false;
    PostQuitMessage(0);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        timerRan = true;
        QuitFlag = true;
    });
    RunMessageLoop();
    KillTimer(nullptr, timer);
    CHECK(timerRan);
    MSG msg;
    CHECK_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // it was taken
}

TEST_CASE("the loop waits for messages instead of polling, and still takes them at once")
{
    ResidentState state;
    static int ticks = 0;
    ticks = 0;
    // Something to handle every 10 ms, for 300 ms.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (++ticks == 30)
            QuitFlag = true;
    });
    const auto processorMs = [] {
        FILETIME created, ended, kernel, user;
        GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
        const auto ms = [](FILETIME t) {
            return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
        };
        return ms(kernel) + ms(user);
    };
    const double processorBefore = processorMs();
    const DWORD start = GetTickCount();
    RunMessageLoop();
    const double spent = processorMs() - processorBefore;
    const DWORD elapsed = GetTickCount() - start;
    KillTimer(nullptr, timer);
    CHECK(ticks == 30);
    CHECK(elapsed < 2000);  // the ticks were taken as they came
    // Measured from outside the loop: a polling loop keeps this thread busy
    // for much of the time, a waiting one for next to none of it.
    // Measured here: 0-10 ms of 300 waiting, 110 ms polling.
    CHECK(spent < elapsed / 6.0);
}

TEST_CASE("the main window is hidden 300 ms after its last loss of activation, unless busy")
{
    ResidentState state;
    const auto hiddenAfterLoss = [](WPARAM active) {
        ShowWindow(MainWindow, SW_SHOWNOACTIVATE);
        SendMessageA(MainWindow, WM_ACTIVATEAPP, active, 0);
        PumpMessages(150);
        const bool early = !IsWindowVisible(MainWindow);
        PumpMessages(350);
        return !early && !IsWindowVisible(MainWindow);
    };
    CHECK(hiddenAfterLoss(0x100));  // only the low byte counts
    CHECK_FALSE(hiddenAfterLoss(1));
    DialogShown = true;
    CHECK_FALSE(hiddenAfterLoss(0));
    DialogShown = false;
    // A loss while the menu is up arms nothing; the menu's closing hides.
    MenuShown = true;
    CHECK_FALSE(hiddenAfterLoss(0));
    MenuShown = false;
    ShowWindow(MainWindow, SW_HIDE);
}

TEST_CASE("a close request to the main window quits as the menu's quit does")
{
    ResidentState state;
    CreateLaunchLists();
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    CHECK(QuitFlag);
    CHECK_FALSE(LaunchListsPresent());
    CHECK(IsWindow(MainWindow));  // the process ends with its loop, not with a lost window
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_CASE("first run: the welcome box, owned by the main window, with DialogShown set")
{
    ResidentState state;
    {
        MessageBoxRecorder boxes;
        ShowFirstRun();
        REQUIRE(boxes.boxes().size() == 1);
        const RecordedBox& b = boxes.boxes()[0];
        CHECK(b.owner == MainWindow);
        CHECK(b.text == "ダウンロードありがとうございます。\r\nランチメニューの登録を行ってください。");
        CHECK(b.caption == "迅 -velocara-");
        CHECK(b.style == 0x40);
    }
    CHECK(state.formsShown == std::vector<std::string>{"アイテムエディタ"});
    CHECK_FALSE(DialogShown);
    const SeamOverride<MessageBoxFunction> box(ShowMessageBox, BoxNotingDialogShown);
    g_dialogShownDuringBox = false;
    ShowFirstRun();
    CHECK(g_dialogShownDuringBox);
}

TEST_CASE("start-up reads the settings and the list, and takes an empty list for a first run")
{
    ResidentState state;
    SUBCASE("no Launch.ini: first run")
    {
        MessageBoxRecorder boxes;
        InitResident();
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text.rfind("ダウンロード", 0) == 0);
        CHECK(state.formsShown == std::vector<std::string>{"アイテムエディタ"});
        CHECK(LaunchListsPresent());
    }
    SUBCASE("a list: no first run; memory-saving mode frees the lists")
    {
        WriteBytes(state.dir.file("Launch.ini"), "VELOCARA_LAUNCHLIST_2\r\n\r\nT\r\nN\r\n\r\n\r\n\r\n");
        SetUserDword("Software\\Ternvale\\Velocara", "DoubleKeyedPopup", 1);
        SetUserDword("Software\\Ternvale\\Velocara", "PopupKey", 162);
        SetUserDword("Software\\Ternvale\\Velocara", "ReloadItems", 1);
        MessageBoxRecorder boxes;
        InitResident();
        CHECK(boxes.boxes().empty());
        CHECK(state.formsShown.empty());
        CHECK(Settings.ReloadItems);
        CHECK_FALSE(LaunchListsPresent());
    }
    SUBCASE("a Launch.ini with text but no items is no first run")
    {
        WriteBytes(state.dir.file("Launch.ini"), "VELOCARA_LAUNCHLIST_2\r\n\r\n");
        MessageBoxRecorder boxes;
        InitResident();
        CHECK(boxes.boxes().empty());
        CHECK(state.formsShown.empty());
        CHECK(LaunchItemCount() == 0);
    }
    SUBCASE("a UTF-16 Launch.ini is read, not taken for a first run")
    {
        WriteBytes(state.dir.file("Launch.ini"),
                   std::string("\xFF\xFE") +
                       Utf8ToUtf16("VELOCARA_LAUNCHLIST_2\r\n\r\nT\r\nN\r\n\r\n\r\n\r\n", false));
        MessageBoxRecorder boxes;
        InitResident();
        CHECK(boxes.boxes().empty());
        CHECK(state.formsShown.empty());
        REQUIRE(LaunchItemCount() == 1);
        CHECK(LaunchLists->NameList[0] == "N");
    }
    SUBCASE("an unreadable Launch.ini is reported and is not a first run")
    {
        CreateDirectoryA(state.dir.file("Launch.ini").c_str(), nullptr);
        MessageBoxRecorder boxes;
        InitResident();
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text.find("を開けません") != std::string::npos);
        RemoveDirectoryA(state.dir.file("Launch.ini").c_str());
    }
    SUBCASE("a damaged settings key is reported and the defaults are used")
    {
        WriteBytes(state.dir.file("Launch.ini"), "VELOCARA_LAUNCHLIST_2\r\n\r\nT\r\nN\r\n\r\n\r\n\r\n");
        SetUserDword("Software\\Ternvale\\Velocara", "DoubleKeyedPopup", 0);
        Settings.PopupKey = 5;
        MessageBoxRecorder boxes;
        InitResident();
        REQUIRE(boxes.boxes().size() == 1);
        CHECK(boxes.boxes()[0].text == "'PopupKey' の取得に失敗しました");
        CHECK(Settings.DoubleKeyedPopup);
        CHECK(Settings.PopupKey == 162);
        CHECK(LaunchItemCount() == 1);
    }
    DefaultSettings();
}
