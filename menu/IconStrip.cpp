#include "menu/IconStrip.h"

#include <utility>

#include "core/LaunchList.h"
#include "core/Settings.h"
#include "menu/BitmapFile.h"
#include "platform/Raii.h"
#include "platform/ShellHelpers.h"
#include "platform/WindowHelpers.h"

HBITMAP IconStrip = nullptr;

namespace {

// Room for the largest strip read back, its headers and some slack.
constexpr std::size_t kMaxCacheFileBytes =
    kBitmapHeadersSize + 4096 + std::size_t{4} * kIconCellSize * kMaxIconStripCells * kIconStripHeight;

void DrawDot(HDC dc, int left)
{
    {
        UniqueBrush red(CreateSolidBrush(kIconDotColour));
        SelectObject(dc, red.get());
        Ellipse(dc, left + 6, 6, left + 10, 10);
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
    }
    Ellipse(dc, left + 6, kIconCellSize + 6, left + 10, kIconCellSize + 10);
}

void DrawCell(HDC dc, int left, HICON icon)
{
    const RECT image{left, 0, left + kIconCellSize, kIconCellSize};
    const RECT mask{left, kIconCellSize, left + kIconCellSize, kIconStripHeight};
    FillRect(dc, &image, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &mask, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!icon) {
        DrawDot(dc, left);
        return;
    }
    DrawIconEx(dc, left, 0, icon, kIconCellSize, kIconCellSize, 0, nullptr, DI_IMAGE);
    DrawIconEx(dc, left, kIconCellSize, icon, kIconCellSize, kIconCellSize, 0, nullptr, DI_MASK);
}

// A strip of `cells` cells, the last two of them the cancel and quit dots.
UniqueBitmap DrawStrip(int cells)
{
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap strip(CreateCompatibleBitmap(screen.get(), kIconCellSize * cells, kIconStripHeight));
    if (!dc || !strip)
        return UniqueBitmap();
    SelectGuard bitmapSelected(dc.get(), strip.get());
    SelectGuard penSelected(dc.get(), GetStockObject(NULL_PEN));
    SelectGuard brushSelected(dc.get(), GetStockObject(BLACK_BRUSH));
    for (int i = 0; i < cells; ++i) {
        UniqueIcon icon(i < cells - 2 ? GetItemIcon(i) : nullptr);
        DrawCell(dc.get(), kIconCellSize * i, icon.get());
    }
    return strip;
}

bool IsStripShape(const BitmapFileLayout& layout)
{
    return layout.Height == kIconStripHeight && layout.Width % kIconCellSize == 0 &&
           layout.Width / kIconCellSize <= kMaxIconStripCells;
}

UniqueBitmap ReadCacheFile()
{
    const auto bytes = ReadFileUpTo(IconStripCachePath(), kMaxCacheFileBytes);
    if (!bytes)
        return UniqueBitmap();
    const auto layout = ParseBitmapFile(*bytes);
    if (!layout || !IsStripShape(*layout))
        return UniqueBitmap();
    return ScreenBitmapFromFile(*bytes, *layout);
}

}  // namespace

std::string IconStripCachePath() { return GetTempDirectory() + kIconStripCacheName; }

HICON GetItemIcon(int index)
{
    if (index < 0 || index >= LaunchItemCount())
        return nullptr;
    try {
        const UniqueItemIdList item = PathToItemIdList(LaunchLists->TargetList[static_cast<std::size_t>(index)]);
        if (!item)
            return nullptr;
        SHFILEINFOA info;
        if (!GetShellFileInfo(item.get(), false, false, info))
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
    IconStrip = DrawStrip(cells).release();
    if (Settings.ReloadItems)
        SaveIconStrip();
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
    UniqueBitmap loaded = ReadCacheFile();
    if (!loaded) {
        BuildIconStrip();
        return true;
    }
    FreeIconStrip();
    IconStrip = loaded.release();
    return true;
}
