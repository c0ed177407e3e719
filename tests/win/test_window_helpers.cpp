#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/GradientBands.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"
#include "platform/SystemLibrary.h"
#include "platform/WindowHelpers.h"
#include "tests/win/WinTestSupport.h"

namespace {
constexpr COLORREF kUntouched = 0x00123456;
constexpr Colour kDialogStart = 0x00FF7030;
constexpr Colour kDialogEnd = 0x00DDE7EC;

struct Fill {
    bool horizontal;
    RECT rect;
    Colour start, end;
};

// What a fill must leave on a canvas of the given size, worked out from the
// band arithmetic alone: one band per coordinate from the first edge to the
// exclusive last edge inclusive, clipped to the canvas.
std::vector<COLORREF> Expected(int width, int height, const Fill& f)
{
    std::vector<COLORREF> img(static_cast<std::size_t>(width * height), kUntouched);
    const int first = f.horizontal ? f.rect.left : f.rect.top;
    const int last = f.horizontal ? f.rect.right : f.rect.bottom;
    for (int i = first; i <= last; ++i) {
        const COLORREF c = GradientBandColour(f.start, f.end, first, last - first, i);
        const RECT band = f.horizontal ? RECT{i, f.rect.top, i + 1, f.rect.bottom}
                                       : RECT{f.rect.left, i, f.rect.right, i + 1};
        for (int y = std::max<LONG>(band.top, 0); y < std::min<LONG>(band.bottom, height); ++y)
            for (int x = std::max<LONG>(band.left, 0); x < std::min<LONG>(band.right, width); ++x)
                img[static_cast<std::size_t>(y * width + x)] = c;
    }
    return img;
}

// The first pixel that differs, as text for the failure message; "" if none.
std::string FirstDifference(const PixelCanvas& canvas, const std::vector<COLORREF>& expected)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const COLORREF want = expected[static_cast<std::size_t>(y * canvas.width() + x)];
            if (canvas.at(x, y) != want) {
                char text[96];
                wsprintfA(text, "(%d,%d) is %06lX, not %06lX", x, y, canvas.at(x, y), want);
                return text;
            }
        }
    return "";
}

int CountChanged(const PixelCanvas& canvas)
{
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            n += canvas.at(x, y) != kUntouched;
    return n;
}

const char* const kNotepad = "C:\\windows\\notepad.exe";
}  // namespace

TEST_CASE("FillGradient paints the dialog strip's 56 columns with the documented figures")
{
    PixelCanvas canvas(64, 10, kUntouched);
    const RECT rect{0, 2, 55, 8};
    FillGradient(canvas.dc(), true, rect, kDialogStart, kDialogEnd);

    for (int y = 2; y < 8; ++y) {
        CHECK(canvas.at(0, y) == 0x00FE6F2F);
        CHECK(canvas.at(1, y) == 0x00FD7132);
        CHECK(canvas.at(54, y) == 0x00DCE3E6);
        CHECK(canvas.at(55, y) == 0x00DCE5EA);  // on the exclusive right edge, painted too
        CHECK(canvas.at(56, y) == kUntouched);
    }
    // Every other pixel, rows 1 and 8 among them, is the band arithmetic's.
    CHECK(FirstDifference(canvas, Expected(64, 10, {true, rect, kDialogStart, kDialogEnd})) == "");
    CHECK(CountChanged(canvas) == 56 * 6);
}

TEST_CASE("FillGradient's rounding and weights show in the pixels")
{
    SUBCASE("black to white over three bands: 0, 126 and 253, the tie 127.5 going to 128")
    {
        PixelCanvas canvas(16, 4, kUntouched);
        FillGradient(canvas.dc(), true, RECT{10, 0, 12, 4}, 0x000000, 0xFFFFFF);
        for (int y = 0; y < 4; ++y) {
            CHECK(canvas.at(10, y) == 0x000000);
            CHECK(canvas.at(11, y) == 0x7E7E7E);
            CHECK(canvas.at(12, y) == 0xFDFDFD);
        }
        CHECK(CountChanged(canvas) == 12);
    }
    SUBCASE("pure blue starts at 254")
    {
        PixelCanvas canvas(8, 2, kUntouched);
        FillGradient(canvas.dc(), true, RECT{0, 0, 5, 2}, 0x00FF0000, 0x00FF0000);
        CHECK(canvas.at(0, 0) == 0x00FE0000);
    }
    SUBCASE("the top byte of a colour is ignored")
    {
        PixelCanvas canvas(8, 2, kUntouched);
        FillGradient(canvas.dc(), true, RECT{0, 0, 5, 2}, 0xFF000000, 0xAAFFFFFF);
        CHECK(FirstDifference(canvas, Expected(8, 2, {true, RECT{0, 0, 5, 2}, 0, 0xFFFFFF})) == "");
    }
}

TEST_CASE("FillGradient's edge cases: reversed, one pixel wide, one coordinate")
{
    PixelCanvas canvas(32, 32, kUntouched);
    SUBCASE("a reversed rectangle paints nothing, in either direction")
    {
        FillGradient(canvas.dc(), true, RECT{20, 0, 19, 32}, 0x000000, 0xFFFFFF);
        FillGradient(canvas.dc(), true, RECT{20, 0, 2, 32}, 0x000000, 0xFFFFFF);
        FillGradient(canvas.dc(), false, RECT{0, 20, 32, 19}, 0x000000, 0xFFFFFF);
        FillGradient(canvas.dc(), false, RECT{0, 20, 32, -5}, 0x000000, 0xFFFFFF);
        CHECK(CountChanged(canvas) == 0);
    }
    SUBCASE("right = left + 1 paints two columns")
    {
        FillGradient(canvas.dc(), true, RECT{7, 3, 8, 9}, 0x000000, 0xFFFFFF);
        CHECK(CountChanged(canvas) == 2 * 6);
        CHECK(canvas.at(7, 3) == 0x000000);
        CHECK(canvas.at(8, 8) == 0xFDFDFD);
    }
    SUBCASE("left = right paints the one band at that column in the start colour's band")
    {
        FillGradient(canvas.dc(), true, RECT{5, 0, 5, 4}, kDialogStart, kDialogEnd);
        CHECK(CountChanged(canvas) == 4);
        CHECK(canvas.at(5, 0) == 0x00FE6F2F);
    }
    SUBCASE("the vertical case paints rows across the rectangle's full width, whatever it is")
    {
        const RECT rect{3, 5, 9, 25};
        FillGradient(canvas.dc(), false, rect, 0x00102030, 0x00F0E0D0);
        CHECK(FirstDifference(canvas, Expected(32, 32, {false, rect, 0x00102030, 0x00F0E0D0})) == "");
        for (int y = 5; y <= 25; ++y) {
            CHECK(canvas.at(2, y) == kUntouched);
            for (int x = 3; x < 9; ++x)
                CHECK(canvas.at(x, y) == GradientBandColour(0x00102030, 0x00F0E0D0, 5, 20, y));
            CHECK(canvas.at(9, y) == kUntouched);
        }
        CHECK(canvas.at(4, 26) == kUntouched);
        CHECK(CountChanged(canvas) == 6 * 21);
    }
}

TEST_CASE("FillGradient matches the band arithmetic pixel for pixel over many fills")
{
    const std::vector<Fill> fills = {
        {true, {0, 0, 55, 40}, kDialogStart, kDialogEnd},
        {true, {17, 3, 250, 9}, 0x00000000, 0x00FFFFFF},
        {true, {-40, 10, 100, 30}, 0x00FF0000, 0x000000FF},  // starts left of the canvas
        {true, {200, 0, 400, 40}, 0x00336699, 0x00996633},   // ends right of it
        {false, {0, 0, 300, 39}, 0x00FFFFFF, 0x00000000},
        {false, {40, -20, 60, 60}, 0x0000FF00, 0x00FF00FF},
        {false, {280, 1, 300, 2}, 0x00ABCDEF, 0x00FEDCBA},
        {true, {0, 0, 299, 40}, 0x00010203, 0x00FDFEFF},  // a long span: all 256 values of t
    };
    for (const Fill& f : fills) {
        CAPTURE(f.horizontal);
        CAPTURE(f.rect.left);
        CAPTURE(f.rect.top);
        PixelCanvas canvas(300, 40, kUntouched);
        FillGradient(canvas.dc(), f.horizontal, f.rect, f.start, f.end);
        CHECK(FirstDifference(canvas, Expected(300, 40, f)) == "");
    }
}

TEST_CASE("FillGradient gives the same pixels on a screen-compatible bitmap")
{
    HDC screen = GetDC(nullptr);
    REQUIRE(GetDeviceCaps(screen, BITSPIXEL) >= 24);  // exact colours need a true-colour display
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 6);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT rect{2, 1, 118, 5};
    FillGradient(dc, true, rect, 0x00204080, 0x00F0C0A0);
    bool same = true;
    for (int x = 2; x <= 118; ++x)
        for (int y = 1; y < 5; ++y)
            same = same && GetPixel(dc, x, y) == GradientBandColour(0x00204080, 0x00F0C0A0, 2, 116, x);
    CHECK(same);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_CASE("FillGradient leaves the DC as it found it and holds on to no GDI object")
{
    PixelCanvas canvas(64, 64, kUntouched);
    HDC dc = canvas.dc();
    HPEN pen = CreatePen(PS_DASH, 1, 0x00112233);
    HBRUSH brush = CreateHatchBrush(HS_CROSS, 0x00445566);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(dc, pen);
    SelectObject(dc, brush);
    SelectObject(dc, font);
    SetBkColor(dc, 0x00010203);
    SetTextColor(dc, 0x00040506);
    SetBkMode(dc, TRANSPARENT);
    SetROP2(dc, R2_XORPEN);
    SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
    const HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);

    const unsigned before = CountGdiObjects();
    for (int i = 0; i < 50; ++i) {
        FillGradient(dc, i % 2 == 0, RECT{1, 1, 60, 60}, kDialogStart, kDialogEnd);
    }
    CHECK(CountGdiObjects() == before);

    CHECK(GetCurrentObject(dc, OBJ_PEN) == pen);
    CHECK(GetCurrentObject(dc, OBJ_BRUSH) == brush);
    CHECK(GetCurrentObject(dc, OBJ_FONT) == font);
    CHECK(GetCurrentObject(dc, OBJ_BITMAP) == bitmap);
    CHECK(GetBkColor(dc) == 0x00010203);
    CHECK(GetTextColor(dc) == 0x00040506);
    CHECK(GetBkMode(dc) == TRANSPARENT);
    CHECK(GetROP2(dc) == R2_XORPEN);
    CHECK(GetTextAlign(dc) == (TA_RIGHT | TA_BOTTOM));
    // Painting went through, and with the gradient, not the selected brush.
    CHECK(canvas.at(30, 30) == GradientBandColour(kDialogStart, kDialogEnd, 1, 59, 30));

    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

TEST_CASE("ExtractFileIcon gives exactly one icon of the size asked for, or null")
{
    // The first call of a process sets up caches of the shell's; count after it.
    DestroyIcon(ExtractFileIcon(kNotepad, 0, true));
    const unsigned before = CountGdiObjects();

    UniqueIcon large(ExtractFileIcon(kNotepad, 0, true));
    UniqueIcon small(ExtractFileIcon(kNotepad, 0, false));
    REQUIRE(large);
    REQUIRE(small);
    CHECK(IconSize(large.get()) == std::pair{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
    CHECK(IconSize(small.get()) == std::pair{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)});

    CHECK(ExtractFileIcon(kNotepad, 9999, true) == nullptr);
    CHECK(ExtractFileIcon(kNotepad, 9999, false) == nullptr);
    TempFolder dir;
    WriteBytes(dir.file("plain.txt"), "no icons in here");
    CHECK(ExtractFileIcon(dir.file("plain.txt"), 0, true) == nullptr);
    CHECK(ExtractFileIcon(dir.file("missing.exe"), 0, false) == nullptr);

    // The icon not returned was destroyed: after the caller destroys its own,
    // nothing is left.
    large.reset();
    small.reset();
    for (int i = 0; i < 20; ++i)
        DestroyIcon(ExtractFileIcon(kNotepad, 0, i % 2 == 0));
    CHECK(CountGdiObjects() == before);
}

TEST_CASE("GetTempDirectory follows TMP and ends in exactly one backslash")
{
    TempFolder dir;  // ends in a backslash
    const std::string bare = dir.path().substr(0, dir.path().size() - 1);
    {
        ScopedEnvironment tmp("TMP", bare);
        CHECK(GetTempDirectory() == dir.path());
    }
    {
        ScopedEnvironment tmp("TMP", dir.path());
        CHECK(GetTempDirectory() == dir.path());
    }
    const std::string normal = GetTempDirectory();
    REQUIRE(normal.size() >= 3);
    CHECK(normal.back() == '\\');
    CHECK(normal[normal.size() - 2] != '\\');
}

namespace {
LRESULT CALLBACK PlainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(const char* cls, const char* title, RECT r, DWORD style)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);  // a second registration fails harmlessly
    return CreateWindowExA(WS_EX_TOOLWINDOW, cls, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

TEST_CASE("GetTaskbarRect: all zero without a taskbar, the window's rectangle with one")
{
    // Wine shows no taskbar. Its desktop process keeps a hidden window of the
    // class with an all-zero rectangle, which FindWindowA finds only once some
    // process has registered the class name; either way the answer is zero.
    // A test's own window of the class then stands for a real taskbar.
    CHECK(SameRect(GetTaskbarRect(), RECT{0, 0, 0, 0}));

    SUBCASE("a window of the class with a title is not the taskbar")
    {
        HWND titled = MakeWindow("Shell_TrayWnd", "not the taskbar", RECT{0, 738, 1024, 768}, WS_POPUP);
        REQUIRE(titled);
        CHECK(SameRect(GetTaskbarRect(), RECT{0, 0, 0, 0}));
        DestroyWindow(titled);
    }
    SUBCASE("the taskbar's screen rectangle, and the taskbar enabled")
    {
        HWND taskbar = MakeWindow("Shell_TrayWnd", "", RECT{0, 738, 1024, 768}, WS_POPUP | WS_DISABLED);
        REQUIRE(taskbar);
        CHECK(SameRect(GetTaskbarRect(), RECT{0, 738, 1024, 768}));
        CHECK(IsWindowEnabled(taskbar));
        SetWindowPos(taskbar, nullptr, 964, 0, 60, 768, SWP_NOZORDER | SWP_NOACTIVATE);
        EnableWindow(taskbar, FALSE);
        CHECK(SameRect(GetTaskbarRect(), RECT{964, 0, 1024, 768}));
        CHECK(IsWindowEnabled(taskbar));
        DestroyWindow(taskbar);
    }
    CHECK(SameRect(GetTaskbarRect(), RECT{0, 0, 0, 0}));
}

namespace {
struct OtherThread {
    HWND window = nullptr;
    DWORD id = 0;
    HANDLE thread = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    static DWORD WINAPI Main(LPVOID p)
    {
        auto* self = static_cast<OtherThread*>(p);
        self->window = MakeWindow("VlcrTestOther", "other", RECT{300, 300, 500, 400}, WS_POPUP | WS_VISIBLE);
        SetForegroundWindow(self->window);
        SetEvent(self->ready);
        while (WaitForSingleObject(self->quit, 5) == WAIT_TIMEOUT) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        DestroyWindow(self->window);
        return 0;
    }
    OtherThread()
    {
        thread = CreateThread(nullptr, 0, Main, this, 0, &id);
        WaitForSingleObject(ready, 5000);
    }
    ~OtherThread()
    {
        SetEvent(quit);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(ready);
        CloseHandle(quit);
    }
};

DWORD LockTimeout()
{
    DWORD t = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &t, 0);
    return t;
}

void SetLockTimeout(DWORD t)
{
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(t)), 0);
}
}  // namespace

TEST_CASE("ForceForegroundWindow brings the window forward and leaves the lock and the input as they were")
{
    const DWORD original = LockTimeout();
    SetLockTimeout(123456);
    REQUIRE(LockTimeout() == 123456);

    HWND target = MakeWindow("VlcrTestTarget", "target", RECT{100, 100, 300, 200}, WS_POPUP | WS_VISIBLE);
    REQUIRE(target);
    {
        OtherThread other;
        REQUIRE(other.window);
        PumpMessages(200);
        REQUIRE(GetForegroundWindow() == other.window);

        ForceForegroundWindow(target);
        PumpMessages(200);
        CHECK(LockTimeout() == 123456);
        CHECK(GetForegroundWindow() == target);
        // Detaching what is not attached fails: the call detached again.
        CHECK_FALSE(AttachThreadInput(GetCurrentThreadId(), other.id, FALSE));
    }
    // With its own window already in front attaching fails; the rest still runs.
    ForceForegroundWindow(target);
    CHECK(LockTimeout() == 123456);
    CHECK(GetForegroundWindow() == target);
    DestroyWindow(target);
    SetLockTimeout(original);
    CHECK(LockTimeout() == original);
}

namespace {
// A program whose window is in front and which then stops answering until
// it is released (or its own wait runs out).
struct HungThread {
    HWND window = nullptr;
    HANDLE thread = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD waited = WAIT_FAILED;

    static DWORD WINAPI Main(LPVOID p)
    {
        auto* self = static_cast<HungThread*>(p);
        self->window = MakeWindow("VlcrTestHung", "hung", RECT{300, 300, 500, 400}, WS_POPUP | WS_VISIBLE);
        SetForegroundWindow(self->window);
        PumpMessages(100);
        SetEvent(self->ready);
        self->waited = WaitForSingleObject(self->release, 10000);  // answers nothing meanwhile
        PumpMessages(100);
        DestroyWindow(self->window);
        return 0;
    }
    HungThread()
    {
        thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        WaitForSingleObject(ready, 5000);
    }
    void Release()
    {
        SetEvent(release);
        WaitForSingleObject(thread, 15000);
    }
    ~HungThread()
    {
        Release();
        CloseHandle(thread);
        CloseHandle(ready);
        CloseHandle(release);
    }
};
}  // namespace

TEST_CASE("ForceForegroundWindow does not wait for a foreground program that has stopped answering")
{
    HWND target = MakeWindow("VlcrTestTarget", "target", RECT{100, 100, 300, 200}, WS_POPUP | WS_VISIBLE);
    REQUIRE(target);
    HungThread hung;
    REQUIRE(hung.window);
    REQUIRE(GetForegroundWindow() == hung.window);

    ForceForegroundWindow(target);
    const bool inFront = GetForegroundWindow() == target;
    hung.Release();  // only now may the other program go on
    // Had the call waited for the other program, it would have returned only
    // after that program's own wait ran out.
    CHECK(hung.waited == WAIT_OBJECT_0);
    CHECK(inFront);
    DestroyWindow(target);
}

TEST_CASE("after the library search is restricted, a DLL beside the program is never loaded in place of a system one")
{
    // Two copies of one small DLL of a name no system has, beside the test
    // program: the first loads while the program's folder is still searched.
    const std::string beside = ExecutableDirectory();
    const std::string built = BuiltProgramPath("tools\\vlcr-planted.dll");
    REQUIRE(CopyFileA(built.c_str(), (beside + "vlcr-planted-a.dll").c_str(), FALSE));
    REQUIRE(CopyFileA(built.c_str(), (beside + "vlcr-planted-b.dll").c_str(), FALSE));
    HMODULE before = LoadLibraryA("vlcr-planted-a.dll");
    CHECK(before != nullptr);
    RestrictLibrarySearch();
    HMODULE after = LoadLibraryA("vlcr-planted-b.dll");
    CHECK(after == nullptr);
    if (before)
        FreeLibrary(before);
    if (after)
        FreeLibrary(after);
    DeleteFileA((beside + "vlcr-planted-a.dll").c_str());
    DeleteFileA((beside + "vlcr-planted-b.dll").c_str());
}

TEST_CASE("a system DLL that is no Known DLL comes from System32, never from beside the program")
{
    // A DLL named as one of Windows' own, beside the program: what the
    // program loads by that name is still the system's.
    const std::string beside = ExecutableDirectory();
    const std::string planted = beside + "version.dll";
    REQUIRE(CopyFileA(BuiltProgramPath("tools\\vlcr-planted.dll").c_str(), planted.c_str(), FALSE));
    const HMODULE module = LoadSystemLibrary(L"version.dll");
    REQUIRE(module != nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    CHECK(lstrcmpiA(std::string(path).substr(0, lstrlenA(system)).c_str(), system) == 0);
    const bool hasVersionCalls = GetProcAddress(module, "GetFileVersionInfoSizeW") != nullptr;
    CHECK(hasVersionCalls);  // the planted one has none
    FreeLibrary(module);
    DeleteFileA(planted.c_str());
}
