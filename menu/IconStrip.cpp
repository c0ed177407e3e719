#include "menu/IconStrip.h"

#include <utility>

#include "core/store/ItemPaths.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/BitmapFile.h"
#include "menu/NetworkItems.h"
#include "platform/Raii.h"
#include "platform/ShellHelpers.h"
#include "platform/WindowHelpers.h"

HBITMAP IconStrip = nullptr;
int IconCellSize = kIconCellSize;

namespace {

// The largest cell read back: 256 px icons, far beyond any display scaling.
constexpr int kMaxCacheCellSize = 256;

std::size_t MaxCacheFileBytes(int cell)
{
    // The largest strip read back, its headers and some slack.
    return kBitmapHeadersSize + 4096 + std::size_t{4} * static_cast<std::size_t>(cell) * kMaxIconStripCells * 2 *
                                           static_cast<std::size_t>(cell);
}

void DrawDot(HDC dc, int left, int cell)
{
    // 6 to 10 of a 16-pixel cell, in proportion.
    const int from = cell * 6 / kIconCellSize;
    const int to = cell * 10 / kIconCellSize;
    {
        UniqueBrush red(CreateSolidBrush(kIconDotColour));
        SelectObject(dc, red.get());
        Ellipse(dc, left + from, from, left + to, to);
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
    }
    Ellipse(dc, left + from, cell + from, left + to, cell + to);
}

void DrawCell(HDC dc, int left, int cell, HICON icon)
{
    const RECT image{left, 0, left + cell, cell};
    const RECT mask{left, cell, left + cell, 2 * cell};
    FillRect(dc, &image, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &mask, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!icon) {
        DrawDot(dc, left, cell);
        return;
    }
    DrawIconEx(dc, left, 0, icon, cell, cell, 0, nullptr, DI_IMAGE);
    DrawIconEx(dc, left, cell, icon, cell, cell, 0, nullptr, DI_MASK);
}

// A strip of `cells` cells, the last two of them the cancel and quit dots.
UniqueBitmap DrawStrip(int cells, int cell)
{
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap strip(CreateCompatibleBitmap(screen.get(), cell * cells, 2 * cell));
    if (!dc || !strip)
        return UniqueBitmap();
    SelectGuard bitmapSelected(dc.get(), strip.get());
    SelectGuard penSelected(dc.get(), GetStockObject(NULL_PEN));
    SelectGuard brushSelected(dc.get(), GetStockObject(BLACK_BRUSH));
    for (int i = 0; i < cells; ++i) {
        UniqueIcon icon(i < cells - 2 ? GetItemIcon(i, cell) : nullptr);
        DrawCell(dc.get(), cell * i, cell, icon.get());
    }
    return strip;
}

bool IsStripShape(const BitmapFileLayout& layout, int cell)
{
    return layout.Height == 2 * cell && layout.Width % cell == 0 && layout.Width / cell <= kMaxIconStripCells;
}

UniqueBitmap ReadCacheFile(int cell)
{
    if (cell <= 0 || cell > kMaxCacheCellSize)
        return UniqueBitmap();
    const auto bytes = ReadFileUpTo(IconStripCachePath(), MaxCacheFileBytes(cell));
    if (!bytes)
        return UniqueBitmap();
    // A strip of another cell size was written at another DPI: stale.
    const auto layout = ParseBitmapFile(*bytes);
    if (!layout || !IsStripShape(*layout, cell))
        return UniqueBitmap();
    return ScreenBitmapFromFile(*bytes, *layout);
}

}  // namespace

std::string IconStripCachePath() { return GetTempDirectory() + kIconStripCacheName; }

HICON GetItemIcon(int index, int size)
{
    if (index < 0 || index >= LaunchItemCount())
        return nullptr;
    if (HICON network = NetworkItemIcon(index, size))
        return network;
    try {
        // The icon of what a launch opens: the path as the user meant it.
        const UniqueItemIdList item =
            PathToItemIdList(ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(index)]));
        if (!item)
            return nullptr;
        // A cell larger than the system's small icons (a monitor of higher
        // DPI than the system's) is drawn from the large icon, shrunk.
        const bool large = size > GetSystemMetrics(SM_CXSMICON);
        SHFILEINFOA info;
        if (!GetShellFileInfo(item.get(), large, false, info))
            return nullptr;
        return info.hIcon;
    } catch (const ShellError&) {
        return nullptr;  // the row shows the dot
    }
}

void BuildIconStrip()
{
    const int cells = LaunchItemCount() + 2;
    FreeIconStrip();
    // A strip too large for the system leaves the rows without icons.
    IconStrip = DrawStrip(cells, IconCellSize).release();
    if (Settings.ReloadItems)
        SaveIconStrip();
}

bool RedrawIconCell(int index)
{
    if (!IconStrip || index < 0 || index >= LaunchItemCount())
        return false;
    const int cell = IconCellSize;
    BITMAP bm{};
    if (!GetObjectA(IconStrip, sizeof bm, &bm) || bm.bmWidth < cell * (index + 1))
        return false;
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectGuard bitmapSelected(dc.get(), IconStrip);
    SelectGuard penSelected(dc.get(), GetStockObject(NULL_PEN));
    SelectGuard brushSelected(dc.get(), GetStockObject(BLACK_BRUSH));
    UniqueIcon icon(GetItemIcon(index, cell));
    DrawCell(dc.get(), cell * index, cell, icon.get());
    return true;
}

void FreeIconStrip()
{
    if (IconStrip)
        DeleteObject(std::exchange(IconStrip, nullptr));
}

void SaveIconStrip()
{
    // The strip stays as it is: the file is only read from it. A write that
    // fails leaves no cache, and the next showing builds the strip once.
    if (IconStrip)
        WriteBitmapFile(IconStripCachePath(), IconStrip);
}

bool LoadIconStrip()
{
    UniqueBitmap loaded = ReadCacheFile(IconCellSize);
    if (!loaded) {
        BuildIconStrip();
        return true;
    }
    FreeIconStrip();
    IconStrip = loaded.release();
    return true;
}
