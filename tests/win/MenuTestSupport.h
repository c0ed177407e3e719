// Shared set-up of the launch menu tests: a main window, the command window
// and a launch menu over a Launch.ini of the test's own, pixels read back
// through WM_PRINTCLIENT, and the shell and popup menu answered by the test.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/store/LaunchList.h"
#include "tests/win/WinTestSupport.h"

// Launch.ini text with the magic line, the double-click command and the items.
std::string LaunchText(const std::vector<LaunchItem>& items, const std::string& dblClickCommand = "");
// Items "item0".."itemN-1" with targets C:\t\itemK.exe and letters A, B, ...
std::vector<LaunchItem> NumberedItems(int count);

// One ShellExecuteA call, with its null pointers kept apart from empty texts.
struct RecordedLaunch {
    HWND owner;
    bool verbNull, fileNull, parametersNull, directoryNull;
    std::string verb, file, parameters, directory;
    INT show;
    bool menuVisible;  // the command window, while the shell had the call
};
class ShellRecorder {
public:
    ShellRecorder();
    const std::vector<RecordedLaunch>& launches() const;

private:
    SeamOverride<ShellExecuteFunction> seam_;
};

// One TrackPopupMenu call: the menu's entries as they were, and where.
struct RecordedMenuEntry {
    UINT identifier;
    std::string text;  // empty for a separator
    bool separator;
};
struct RecordedPopup {
    HMENU menu;
    std::vector<RecordedMenuEntry> entries;
    UINT flags;
    int x, y;
    HWND owner;
};
class PopupRecorder {
public:
    PopupRecorder();
    const std::vector<RecordedPopup>& popups() const;

private:
    SeamOverride<TrackPopupMenuFunction> seam_;
};
std::vector<RecordedMenuEntry> MenuEntries(HMENU menu);

// Main window, command window and launch menu over `items`; the settings at
// their defaults unless the test changes them before Open.
class MenuFixture {
public:
    MenuFixture();
    ~MenuFixture();
    MenuFixture(const MenuFixture&) = delete;
    MenuFixture& operator=(const MenuFixture&) = delete;

    void WriteList(const std::vector<LaunchItem>& items, const std::string& dblClickCommand = "");
    std::string ReadList() const;
    // Loads the list and creates the launch menu as start-up does.
    void Create(const std::vector<LaunchItem>& items, const std::string& dblClickCommand = "");
    HWND Control() const;

    TempFolder dir;
};

// A 32-bit top-down DIB to paint into, magenta until painted.
class Canvas : public PixelCanvas {
public:
    Canvas(int width, int height, COLORREF fill = 0x00FF00FF) : PixelCanvas(width, height, fill) {}
};

// The control painted through WM_PRINTCLIENT, as its paint routine does it.
void PrintClient(HWND hwnd, const Canvas& canvas);

// An icon strip of the test's own: cell i is a 16 x 16 square whose image
// band is black around a 6 x 6 block of StripColour(i) at (5, 5), with a black
// (opaque) pixel at (2, 2); the mask band is white (transparent) except under
// the block and that pixel.
HBITMAP MakeTestStrip(int cells);
COLORREF StripColour(int cell);

// A top-level "Shell_TrayWnd" window with an empty title at `r`, for as long
// as it lives.
class FakeTaskbar {
public:
    explicit FakeTaskbar(RECT r);
    ~FakeTaskbar();
    FakeTaskbar(const FakeTaskbar&) = delete;
    FakeTaskbar& operator=(const FakeTaskbar&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

// The icons extracted in the background are all in the strip (pumping the
// thread's messages, 10 s at most).
bool WaitForIconStrip();
