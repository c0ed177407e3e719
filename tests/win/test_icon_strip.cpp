#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/BitmapFileFormat.h"
#include "core/store/LaunchFile.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/StripCells.h"
#include "platform/Raii.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {
const char* const kNotepad = "C:\\windows\\notepad.exe";
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

// The cache goes to a folder of the test's own through TMP.
struct StripFixture {
    TempFolder dir;
    ScopedEnvironment tmp{"TMP", dir.path()};
    TSettings savedSettings = Settings;

    StripFixture()
    {
        Settings.ReloadItems = false;
        FreeIconStrip();
        FreeLaunchLists();
    }
    ~StripFixture()
    {
        FreeIconStrip();
        FreeLaunchLists();
        Settings = savedSettings;
    }
    StripFixture(const StripFixture&) = delete;
    StripFixture& operator=(const StripFixture&) = delete;

    void Items(const std::vector<std::string>& targets)
    {
        CreateLaunchLists();
        for (const std::string& t : targets)
            SetLaunchItem(AddLaunchItem(), t, "name", "", "", "");
    }
    std::string cache() const { return dir.file("vlcr.tmp"); }
};

bool InDotBox(int x, int y) { return x >= 6 && x < 10 && y >= 6 && y < 10; }

// The dot: red in a few pixels inside its box on black, the same pixels black
// in the mask band and everything else there white.
bool IsDotCell(const BitmapPixels& p, int cell)
{
    int red = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const COLORREF image = p.at(16 * cell + x, y);
            const COLORREF mask = p.at(16 * cell + x, 16 + y);
            if (image == kIconDotColour) {
                if (!InDotBox(x, y) || mask != kBlack)
                    return false;
                ++red;
            } else if (image != kBlack || mask != kWhite) {
                return false;
            }
        }
    return red > 0;
}

// An icon's cell: it covers pixels the dot never would.
bool HasIconOutsideDot(const BitmapPixels& p, int cell)
{
    int covered = 0, coloured = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (InDotBox(x, y))
                continue;
            covered += p.at(16 * cell + x, 16 + y) != kWhite;
            coloured += p.at(16 * cell + x, y) != kBlack;
        }
    return covered > 0 && coloured > 0;
}

BitmapPixels StripPixels()
{
    REQUIRE(IconStrip != nullptr);
    return ReadBitmapPixels(IconStrip);
}

int ScreenBits()
{
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

// Puts one cell over a background the way the menu does: mask with SRCAND,
// image with SRCPAINT. Returns the 16×16 result.
std::vector<COLORREF> Composite(int cell, COLORREF background)
{
    PixelCanvas canvas(16, 16, background);
    HDC strip = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(strip, IconStrip);
    BitBlt(canvas.dc(), 0, 0, 16, 16, strip, 16 * cell, 16, SRCAND);
    BitBlt(canvas.dc(), 0, 0, 16, 16, strip, 16 * cell, 0, SRCPAINT);
    SelectObject(strip, old);
    DeleteDC(strip);
    std::vector<COLORREF> out;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            out.push_back(canvas.at(x, y));
    return out;
}

std::string FileOf(int width, int height, int bitCount, COLORREF (*colour)(int x, int y), bool topDown = false)
{
    std::string f = FormatBitmapFileHeaders(width, height, bitCount);
    if (topDown) {
        const auto h = static_cast<std::uint32_t>(-height);
        for (int i = 0; i < 4; ++i)
            f[22 + static_cast<std::size_t>(i)] = static_cast<char>((h >> (8 * i)) & 0xFF);
    }
    const std::size_t stride = BitmapRowStride(width, bitCount);
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        std::string line(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            const std::size_t at = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount / 8);
            line[at] = static_cast<char>((c >> 16) & 0xFF);  // blue, green, red
            line[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            line[at + 2] = static_cast<char>(c & 0xFF);
        }
        f += line;
    }
    return f;
}

COLORREF Pattern(int x, int y) { return RGB(x * 7 % 256, y * 8, (x / 16) * 60); }

void PutU32(std::string& s, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
}  // namespace

TEST_CASE("the strip of three items: 80 × 32, an icon for the program, dots for the rest")
{
    StripFixture fx;
    fx.Items({kNotepad, fx.dir.file("missing.exe"), fx.dir.path()});
    BuildIconStrip();
    const BitmapPixels p = StripPixels();
    CHECK(p.width == 80);
    CHECK(p.height == 32);
    CHECK(p.bitsPixel == ScreenBits());

    CHECK_FALSE(IsDotCell(p, 0));
    CHECK(HasIconOutsideDot(p, 0));  // notepad
    CHECK(IsDotCell(p, 1));          // a path that does not exist
    CHECK_FALSE(IsDotCell(p, 2));
    CHECK(HasIconOutsideDot(p, 2));  // a folder has an icon too
    CHECK(IsDotCell(p, 3));          // cancel
    CHECK(IsDotCell(p, 4));          // quit

    SUBCASE("drawn as the menu draws it, the dot is red on an untouched background")
    {
        const std::vector<COLORREF> cell = Composite(3, 0x00C08040);
        int red = 0, other = 0;
        for (COLORREF c : cell) {
            red += c == kIconDotColour;
            other += c != kIconDotColour && c != 0x00C08040;
        }
        CHECK(red > 0);
        CHECK(other == 0);
        CHECK(cell[0] == 0x00C08040);
    }
    SUBCASE("whole, it is cached in either mode, with the list it was made for")
    {
        CHECK(FileExists(fx.cache()));
        CHECK(ReadBytes(fx.cache() + ".key") ==
              StripCacheKey(LaunchFileFolder(), IconCellDpi, IconCellSize, LaunchLists->TargetList));
    }
}

TEST_CASE("a strip with no items: an absent or an empty list gives the two dot cells")
{
    StripFixture fx;
    BuildIconStrip();  // no list at all
    BitmapPixels p = StripPixels();
    CHECK(p.width == 32);
    CHECK(IsDotCell(p, 0));
    CHECK(IsDotCell(p, 1));

    CreateLaunchLists();
    BuildIconStrip();
    p = StripPixels();
    CHECK(p.width == 32);
    CHECK(IsDotCell(p, 1));
}

TEST_CASE("building replaces the strip, freeing deletes it")
{
    StripFixture fx;
    fx.Items({kNotepad});
    BuildIconStrip();
    const HBITMAP first = IconStrip;
    REQUIRE(first);
    BuildIconStrip();
    CHECK(IconStrip != nullptr);
    CHECK((GetObjectType(first) == 0 || IconStrip == first));  // a reused handle is the new strip
    FreeIconStrip();
    CHECK(IconStrip == nullptr);
    FreeIconStrip();  // twice is harmless
    CHECK(IconStrip == nullptr);
}

TEST_CASE("memory-saving mode: every build writes vlcr.tmp and leaves a fresh strip")
{
    StripFixture fx;
    Settings.ReloadItems = true;
    REQUIRE(IconStripCachePath() == fx.cache());
    fx.Items({kNotepad, fx.dir.file("missing.exe"), "http://example.com/"});
    BuildIconStrip();
    REQUIRE(FileExists(fx.cache()));
    const BitmapPixels built = StripPixels();

    std::string bytes = ReadBytes(fx.cache());
    auto layout = ParseBitmapFile(bytes);
    REQUIRE(layout);
    CHECK(layout->Width == 80);
    CHECK(layout->Height == 32);
    CHECK(layout->BitCount == (ScreenBits() == 32 ? 32 : 24));

    // The file holds the strip's own pixels.
    FreeIconStrip();
    Settings.ReloadItems = false;
    CHECK(LoadIconStrip());
    CHECK(StripPixels() == built);

    SUBCASE("a change to the list rewrites it")
    {
        Settings.ReloadItems = true;
        SetLaunchItem(AddLaunchItem(), kNotepad, "again", "", "", "");
        BuildIconStrip();
        bytes = ReadBytes(fx.cache());
        layout = ParseBitmapFile(bytes);
        REQUIRE(layout);
        CHECK(layout->Width == 96);
    }
    SUBCASE("an explicit save writes the strip and keeps it, whatever the mode")
    {
        DeleteFileA(fx.cache().c_str());
        const HBITMAP before = IconStrip;
        SaveIconStrip();
        CHECK(FileExists(fx.cache()));
        CHECK(IconStrip == before);
        CHECK(StripPixels() == built);
    }
}

TEST_CASE("memory-saving mode with a cache file that cannot be written: the strip is built instead")
{
    StripFixture fx;
    Settings.ReloadItems = true;
    fx.Items({kNotepad, fx.dir.file("missing.exe")});
    CreateDirectoryA(fx.cache().c_str(), nullptr);  // vlcr.tmp cannot be a file
    BuildIconStrip();
    const BitmapPixels built = StripPixels();
    FreeIconStrip();
    CHECK(LoadIconStrip());  // no cache: built instead, and the save fails again
    CHECK(StripPixels() == built);
    RemoveDirectoryA(fx.cache().c_str());
}

TEST_CASE("a cached strip of another cell size, written at another DPI, is stale: the strip is built for the cells now")
{
    StripFixture fx;
    const int cells = IconCellSize;
    Settings.ReloadItems = true;
    fx.Items({kNotepad, fx.dir.file("missing.exe")});
    IconCellSize = 16;
    BuildIconStrip();  // writes a cache of 16-pixel cells
    FreeIconStrip();
    IconCellSize = 24;
    CHECK(LoadIconStrip());
    BITMAP bm{};
    REQUIRE(GetObjectA(IconStrip, sizeof bm, &bm));
    CHECK(bm.bmWidth == 4 * 24);
    CHECK(bm.bmHeight == 2 * 24);
    const auto layout = ParseBitmapFile(ReadBytes(fx.cache()));
    REQUIRE(layout);
    CHECK(layout->Height == 48);  // and the cache holds the new one
    IconCellSize = cells;
}

TEST_CASE("save then load gives the identical strip; a cache made for another list is not used")
{
    StripFixture fx;
    fx.Items({kNotepad, fx.dir.path(), fx.dir.file("missing.exe")});
    BuildIconStrip();
    const BitmapPixels built = StripPixels();
    SaveIconStrip();
    FreeIconStrip();
    REQUIRE(IconStrip == nullptr);

    CHECK(LoadIconStrip());
    CHECK(StripPixels() == built);

    // Rows added since the save: the cache is stale, the strip made anew
    // with a cell for each.
    FreeIconStrip();
    SetLaunchItem(AddLaunchItem(), kNotepad, "new", "", "", "");
    SetLaunchItem(AddLaunchItem(), kNotepad, "newer", "", "", "");
    CHECK(LoadIconStrip());
    const BitmapPixels grown = StripPixels();
    CHECK(grown.width == 16 * 7);
    // The same target twice: the same picture in both cells.
    bool same = true;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x)
            same = same && grown.at(x, y) == grown.at(16 * 3 + x, y) && grown.at(x, y) == grown.at(16 * 4 + x, y);
    CHECK(same);
}

TEST_CASE("cache files of another writer load as long as they hold a strip for the list")
{
    StripFixture fx;
    fx.Items({kNotepad});
    WriteBytes(fx.cache() + ".key", StripCacheKey(LaunchFileFolder(), IconCellDpi, IconCellSize, {kNotepad}));
    for (const int bits : {24, 32}) {
        for (const bool topDown : {false, true}) {
            CAPTURE(bits);
            CAPTURE(topDown);
            FreeIconStrip();
            WriteBytes(fx.cache(), FileOf(48, 32, bits, Pattern, topDown));
            CHECK(LoadIconStrip());
            const BitmapPixels p = StripPixels();
            REQUIRE(p.width == 48);
            REQUIRE(p.height == 32);
            bool same = true;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 48; ++x)
                    same = same && p.at(x, y) == Pattern(x, y);
            CHECK(same);
        }
    }
}

TEST_CASE("a damaged, hostile or unreadable cache file is not used: the strip is built instead")
{
    StripFixture fx;
    fx.Items({kNotepad, fx.dir.file("missing.exe"), fx.dir.path()});
    BuildIconStrip();
    const BitmapPixels built = StripPixels();
    SaveIconStrip();
    const std::string good = ReadBytes(fx.cache());
    REQUIRE(ParseBitmapFile(good));
    FreeIconStrip();

    std::string bad = good;
    SUBCASE("missing") { DeleteFileA(fx.cache().c_str()); }
    SUBCASE("empty") { WriteBytes(fx.cache(), ""); }
    SUBCASE("truncated") { WriteBytes(fx.cache(), good.substr(0, good.size() / 2)); }
    SUBCASE("headers only") { WriteBytes(fx.cache(), good.substr(0, kBitmapHeadersSize)); }
    SUBCASE("not a BMP")
    {
        bad[0] = 'X';
        WriteBytes(fx.cache(), bad);
    }
    SUBCASE("huge dimensions")
    {
        PutU32(bad, 18, 0x7FFFFFF0u);
        WriteBytes(fx.cache(), bad);
    }
    SUBCASE("negative width")
    {
        PutU32(bad, 18, static_cast<std::uint32_t>(-80));
        WriteBytes(fx.cache(), bad);
    }
    SUBCASE("a whole image, but 64 rows high") { WriteBytes(fx.cache(), FileOf(16, 64, 24, Pattern)); }
    SUBCASE("a whole image, but not a whole number of cells") { WriteBytes(fx.cache(), FileOf(81, 32, 24, Pattern)); }
    SUBCASE("a palette image")
    {
        std::string f = FileOf(16, 32, 24, Pattern);
        f[28] = 8;  // the bit count
        WriteBytes(fx.cache(), f);
    }
    SUBCASE("a compressed image")
    {
        PutU32(bad, 30, 1);
        WriteBytes(fx.cache(), bad);
    }
    SUBCASE("a folder in its place")
    {
        DeleteFileA(fx.cache().c_str());
        REQUIRE(CreateDirectoryA(fx.cache().c_str(), nullptr));
    }
    SUBCASE("open elsewhere without sharing")
    {
        HANDLE locked = CreateFileA(fx.cache().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        REQUIRE(locked != INVALID_HANDLE_VALUE);
        CHECK(LoadIconStrip());
        CHECK(StripPixels() == built);
        CloseHandle(locked);
    }

    CHECK(LoadIconStrip());
    CHECK(StripPixels() == built);
    RemoveDirectoryA(fx.cache().c_str());
}

TEST_CASE("in memory-saving mode the fallback build repairs the cache file")
{
    StripFixture fx;
    Settings.ReloadItems = true;
    fx.Items({kNotepad});
    WriteBytes(fx.cache(), "BM garbage");
    CHECK(LoadIconStrip());
    REQUIRE(IconStrip != nullptr);
    const auto layout = ParseBitmapFile(ReadBytes(fx.cache()));
    REQUIRE(layout);
    CHECK(layout->Width == 48);
    CHECK(IsDotCell(StripPixels(), 2));
}

TEST_CASE("GetItemIcon: a new small icon for a real target and a web address, none for the rest")
{
    StripFixture fx;
    CHECK(GetItemIcon(0) == nullptr);  // no list
    // The shell refuses to parse the last one although it exists: that error
    // must end in no icon, not in an exception out of the strip.
    fx.Items({kNotepad, "", fx.dir.file("missing.exe"), "http://example.com/", "C:/windows"});
    UniqueIcon icon(GetItemIcon(0));
    REQUIRE(icon);
    CHECK(IconSize(icon.get()) == std::pair{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)});
    CHECK(GetItemIcon(1) == nullptr);
    CHECK(GetItemIcon(2) == nullptr);
    const UniqueIcon web(GetItemIcon(3));  // the browser's, or an Internet shortcut's
    CHECK(web);
    CHECK(GetItemIcon(4) == nullptr);
    CHECK(GetItemIcon(5) == nullptr);  // cancel and quit have no item
    BuildIconStrip();
    CHECK(IsDotCell(StripPixels(), 4));
    CHECK(GetItemIcon(-1) == nullptr);
}

TEST_CASE("building, saving and loading the strip over and over leaks no GDI object")
{
    const std::string method = GdiCountFromGetGuiResources() ? "GetGuiResources" : "the process's GDI handle table";
    MESSAGE("GDI objects counted with " << method);
    StripFixture fx;
    fx.Items({kNotepad, fx.dir.file("missing.exe"), fx.dir.path()});

    // The counter itself: it sees brushes come and go, and an icon left alive.
    const unsigned start = CountGdiObjects();
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 10; ++i)
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    CHECK(CountGdiObjects() == start + 10);
    for (HBRUSH b : brushes)
        DeleteObject(b);
    CHECK(CountGdiObjects() == start);
    BuildIconStrip();  // the shell's first lookups set up its caches
    FreeIconStrip();
    const unsigned warm = CountGdiObjects();
    HICON kept = GetItemIcon(0);
    REQUIRE(kept);
    CHECK(CountGdiObjects() > warm);
    DestroyIcon(kept);
    CHECK(CountGdiObjects() == warm);

    for (int i = 0; i < 1000; ++i)
        BuildIconStrip();
    FreeIconStrip();
    CHECK(CountGdiObjects() == warm);

    Settings.ReloadItems = true;
    for (int i = 0; i < 100; ++i) {
        BuildIconStrip();  // saves
        LoadIconStrip();
    }
    WriteBytes(fx.cache(), "damaged");
    Settings.ReloadItems = false;
    for (int i = 0; i < 100; ++i)
        LoadIconStrip();  // falls back to building
    FreeIconStrip();
    CHECK(CountGdiObjects() == warm);
}

TEST_CASE("with the menu there, icons come in the background; a reorder moves cells, an edit asks for one")
{
    StripFixture fx;
    MenuFixture f;
    const std::string folder = f.dir.path();
    f.Create({{kNotepad, "note", "", "", ""}, {folder, "folder", "", "", ""}, {"C:\\gone\\x.txt", "doc", "", "", ""}});
    LaunchMenu->SetShowIcons(true);
    BuildIconStrip();
    // Nothing is drawn on this thread: every cell waits, and a waiting row
    // shows the generic icon of its kind, not a dot and not nothing.
    CHECK_FALSE(IconCellReady(0));
    CHECK_FALSE(IconCellReady(2));
    CHECK(IconCellReady(3));  // cancel and quit are dots of the program's own
    CHECK(KindIcon(0, false, IconCellSize) != nullptr);
    REQUIRE(WaitForIconStrip());
    const BitmapPixels whole = StripPixels();
    CHECK(HasIconOutsideDot(whole, 0));
    CHECK(IsDotCell(whole, 2));  // a file that is not there: the dot

    // Dragged: the cells move with their items and nothing is asked again.
    MoveLaunchItem(0, 2);
    BuildIconStrip();
    CHECK(IconStripWhole());
    const BitmapPixels moved = StripPixels();
    bool same = true;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x)
            same = same && moved.at(32 + x, y) == whole.at(x, y) && moved.at(x, y) == whole.at(16 + x, y);
    CHECK(same);

    // Edited: only that item's cell waits.
    SetLaunchItem(1, "C:\\gone\\y.exe", "edited", "", "", "");
    BuildIconStrip();
    CHECK(IconCellReady(0));
    CHECK_FALSE(IconCellReady(1));
    CHECK(IconCellReady(2));
    REQUIRE(WaitForIconStrip());
    CHECK(IsDotCell(StripPixels(), 1));
}

TEST_CASE("a web address's row has the icon its scheme's association gives, not the dot")
{
    StripFixture fx;
    fx.Items({"https://www.example.com/", "http://www.example.com/a.html", fx.dir.file("missing.exe")});
    BuildIconStrip();
    const BitmapPixels p = StripPixels();
    CHECK(HasIconOutsideDot(p, 0));
    CHECK(HasIconOutsideDot(p, 1));
    CHECK(IsDotCell(p, 2));
}
