#include "menu/IconStrip.h"

#include <shlwapi.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "core/BusyFlags.h"
#include "core/store/ItemPaths.h"
#include "core/store/LaunchFile.h"
#include "core/store/LaunchList.h"
#include "core/store/Settings.h"
#include "menu/BitmapFile.h"
#include "menu/NetworkItems.h"
#include "menu/StripCells.h"
#include "platform/BackgroundJob.h"
#include "platform/ModulePath.h"
#include "platform/PathText.h"
#include "platform/Raii.h"
#include "platform/ShellHelpers.h"
#include "platform/WindowHelpers.h"

HBITMAP IconStrip = nullptr;
int IconCellSize = kIconCellSize;
int IconCellDpi = 96;

namespace {

// The largest cell read back: 256 px icons, far beyond any display scaling.
constexpr int kMaxCacheCellSize = 256;

// Which cell shows whose icon; the strip's cells are laid out for it.
StripCells Cells;
int StripCellSize = 0;  // the cell size the strip in memory was made at
HWND Listener = nullptr;
// Memory-saving mode asked for the strip to go while cells still waited.
bool ReleaseWhenWhole = false;
// Each build starts a generation; the worker drops the rest of an older one.
std::atomic<int>& Generation()
{
    static auto* generation = new std::atomic<int>(0);  // the worker may read it at exit
    return *generation;
}

struct StripIcon {
    int generation = 0;
    std::string target;  // as the list holds it
    UniqueIcon icon;
};

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

HICON NameIcon(const std::wstring& name, DWORD attributes, int size);

// A web address's icon: the one its scheme's association gives (the
// browser's, for http and https), else that of an Internet shortcut.
HICON AddressIcon(const std::string& address, int size)
{
    const bool large = size > GetSystemMetrics(SM_CXSMICON);
    const std::wstring scheme = Widen(address.substr(0, address.find(':')));
    wchar_t location[MAX_PATH + 16] = {};
    DWORD length = MAX_PATH + 16;
    if (SUCCEEDED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_DEFAULTICON, scheme.c_str(), nullptr, location, &length))) {
        // "path,index", the path perhaps quoted.
        std::wstring path = location;
        int index = 0;
        if (const std::size_t comma = path.rfind(L','); comma != std::wstring::npos && comma + 1 < path.size()) {
            index = _wtoi(path.c_str() + comma + 1);
            path.resize(comma);
        }
        if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
            path = path.substr(1, path.size() - 2);
        wchar_t expanded[MAX_PATH] = {};
        if (ExpandEnvironmentStringsW(path.c_str(), expanded, MAX_PATH) > 0)
            path = expanded;
        HICON icon = nullptr;
        if (ExtractIconExW(path.c_str(), index, large ? &icon : nullptr, large ? nullptr : &icon, 1) > 0 && icon)
            return icon;
    }
    return NameIcon(L"x.url", FILE_ATTRIBUTE_NORMAL, size);
}

// The shell icon of a resolved target, by its file: what a launch opens.
HICON ShellIconOf(const std::string& resolved, int size)
{
    if (ClassifyPath(resolved, IsAnsiLeadByte) == PathKind::Address)
        return AddressIcon(resolved, size);
    try {
        const UniqueItemIdList item = PathToItemIdList(resolved);
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

// The icon by the name alone: the shell looks at no file (a share that is
// away holds nothing up).
HICON NameIcon(const std::wstring& name, DWORD attributes, int size)
{
    SHFILEINFOW info{};
    const UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_ICON |
                       (size > GetSystemMetrics(SM_CXSMICON) ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    if (!SHGetFileInfoW(name.c_str(), attributes, &info, sizeof info, flags))
        return nullptr;
    return info.hIcon;
}

std::vector<std::string> ListTargets()
{
    return LaunchListsPresent() ? LaunchLists->TargetList : std::vector<std::string>();
}

// Where a strip for `targets` at this cell size takes each cell from: the
// strip now (moved cells), or a dot while it waits; cancel and quit last.
UniqueBitmap LayOutStrip(const StripPlan& plan, int cell)
{
    const int items = static_cast<int>(plan.sourceOf.size());
    const int cells = items + 2;
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap strip(CreateCompatibleBitmap(screen.get(), cell * cells, 2 * cell));
    if (!dc || !strip)
        return UniqueBitmap();
    SelectGuard bitmapSelected(dc.get(), strip.get());
    SelectGuard penSelected(dc.get(), GetStockObject(NULL_PEN));
    SelectGuard brushSelected(dc.get(), GetStockObject(BLACK_BRUSH));
    UniqueMemoryDc old(IconStrip ? CreateCompatibleDC(screen.get()) : nullptr);
    std::optional<SelectGuard> oldSelected;
    if (old)
        oldSelected.emplace(old.get(), IconStrip);
    for (int i = 0; i < items; ++i) {
        const int from = plan.sourceOf[static_cast<std::size_t>(i)];
        if (from >= 0 && old)
            BitBlt(dc.get(), cell * i, 0, cell, 2 * cell, old.get(), cell * from, 0, SRCCOPY);
        else
            DrawCell(dc.get(), cell * i, cell, nullptr);
    }
    DrawCell(dc.get(), cell * items, cell, nullptr);
    DrawCell(dc.get(), cell * (items + 1), cell, nullptr);
    return strip;
}

void DrawIntoCells(const std::vector<int>& cells, HICON icon)
{
    if (!IconStrip || cells.empty())
        return;
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectGuard bitmapSelected(dc.get(), IconStrip);
    SelectGuard penSelected(dc.get(), GetStockObject(NULL_PEN));
    SelectGuard brushSelected(dc.get(), GetStockObject(BLACK_BRUSH));
    for (const int cell : cells)
        DrawCell(dc.get(), StripCellSize * cell, StripCellSize, icon);
}

// The strip is whole: cached for the next start and the next showing, and
// gone where memory-saving mode asked for that meanwhile.
void StripWhole()
{
    SaveIconStrip();
    if (ReleaseWhenWhole && !MenuShown)
        FreeIconStrip();
}

void ExtractInBackground(const std::vector<std::string>& targets, int cell)
{
    struct Job {
        std::string target, resolved;
        bool network;
    };
    std::vector<Job> jobs;
    for (const std::string& target : targets) {
        const std::string resolved = ResolveItemPath(target);
        jobs.push_back({target, resolved, IsNetworkPath(resolved)});
    }
    const int generation = Generation().load();
    const HWND answerTo = Listener;
    RunOnWorker([jobs, cell, generation, answerTo] {
        for (const Job& job : jobs) {
            if (Generation().load() != generation)
                return;  // the list was replaced: its icons are no longer wanted
            auto answer = std::make_unique<StripIcon>();
            answer->generation = generation;
            answer->target = job.target;
            // A network target is asked about apart (NetworkItems); here its
            // name gives the icon.
            answer->icon.reset(job.network ? NameIcon(Widen(job.resolved), FILE_ATTRIBUTE_NORMAL, cell)
                                           : ShellIconOf(job.resolved, cell));
            PostResult(answerTo, kWmStripIcon, std::move(answer));
        }
    });
}

bool IsStripShape(const BitmapFileLayout& layout, int cell)
{
    return layout.Height == 2 * cell && layout.Width % cell == 0 && layout.Width / cell <= kMaxIconStripCells;
}

std::string CacheKeyNow(const std::vector<std::string>& targets)
{
    return StripCacheKey(LaunchFileFolder(), IconCellDpi, IconCellSize, targets);
}

UniqueBitmap ReadCacheFile(int cell, const std::vector<std::string>& targets)
{
    if (cell <= 0 || cell > kMaxCacheCellSize)
        return UniqueBitmap();
    // Made for another list, order, folder, DPI or cell size: stale.
    const auto key = ReadFileUpTo(IconStripKeyPath(), 64 * 1024 * 1024);
    if (!key || *key != CacheKeyNow(targets))
        return UniqueBitmap();
    const auto bytes = ReadFileUpTo(IconStripCachePath(), MaxCacheFileBytes(cell));
    if (!bytes)
        return UniqueBitmap();
    const auto layout = ParseBitmapFile(*bytes);
    if (!layout || !IsStripShape(*layout, cell) || layout->Width / cell != static_cast<int>(targets.size()) + 2)
        return UniqueBitmap();
    return ScreenBitmapFromFile(*bytes, *layout);
}

}  // namespace

std::string IconStripCachePath() { return GetTempDirectory() + kIconStripCacheName; }
std::string IconStripKeyPath() { return IconStripCachePath() + ".key"; }

void SetIconStripListener(HWND window) { Listener = window; }

HICON GetItemIcon(int index, int size)
{
    if (index < 0 || index >= LaunchItemCount())
        return nullptr;
    if (HICON network = NetworkItemIcon(index, size))
        return network;
    return ShellIconOf(ResolveItemPath(LaunchLists->TargetList[static_cast<std::size_t>(index)]), size);
}

void BuildIconStrip()
{
    ReleaseWhenWhole = false;
    const std::vector<std::string> targets = ListTargets();
    const int cell = IconCellSize;
    // Cells of another size (another DPI) move nowhere: all are made anew.
    if (IconStrip && StripCellSize != cell)
        FreeIconStrip();
    const StripPlan plan = Cells.PlanFor(targets);
    ++Generation();
    // A strip too large for the system leaves the rows without icons.
    UniqueBitmap next = LayOutStrip(plan, cell);
    FreeIconStrip();
    IconStrip = next.release();
    StripCellSize = cell;
    if (!IconStrip)
        return;
    Cells.Apply(targets, plan);
    if (plan.extract.empty()) {
        StripWhole();
        return;
    }
    if (IsWindow(Listener)) {
        ExtractInBackground(plan.extract, cell);
        return;
    }
    // Nobody to tell (a tool without the menu): the icons are drawn now.
    for (const std::string& target : plan.extract) {
        UniqueIcon icon(ShellIconOf(ResolveItemPath(target), cell));
        const std::vector<int> waiting = Cells.WaitingFor(target);
        DrawIntoCells(waiting, icon.get());
        for (const int c : waiting)
            Cells.MarkReady(c);
    }
    StripWhole();
}

std::vector<int> TakeStripIcon(LPARAM answer)
{
    const std::unique_ptr<StripIcon> came = TakeResult<StripIcon>(answer);
    if (came->generation != Generation().load() || !IconStrip)
        return {};  // for a list replaced since
    std::vector<int> cells = Cells.WaitingFor(came->target);
    DrawIntoCells(cells, came->icon.get());
    for (const int c : cells)
        Cells.MarkReady(c);
    if (!cells.empty() && Cells.Whole())
        StripWhole();
    return cells;
}

void DropStripIcon(LPARAM answer) { TakeResult<StripIcon>(answer); }

bool IconCellReady(int index) { return index >= Cells.Count() || Cells.Ready(index); }

bool IconStripWhole() { return Cells.Whole(); }

HICON KindIcon(int index, bool folder, int size)
{
    // A few icons, kept by kind and size for the program's life.
    static std::map<std::pair<std::wstring, int>, UniqueIcon> kinds;
    std::wstring kind = L"folder";
    if (!folder && index >= 0 && index < LaunchItemCount()) {
        const std::string& target = LaunchLists->TargetList[static_cast<std::size_t>(index)];
        const std::size_t dot = target.find_last_of(".\\/:");
        kind = target.find("://") != std::string::npos        ? L"x.url"
               : dot != std::string::npos && target[dot] == '.' ? L"x" + Widen(target.substr(dot))
                                                                : L"x";
    }
    UniqueIcon& icon = kinds[{kind, size}];
    if (!icon)
        icon.reset(NameIcon(kind == L"folder" ? L"x" : kind, folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL,
                            size));
    return icon.get();
}

bool RedrawIconCell(int index)
{
    if (!IconStrip || index < 0 || index >= LaunchItemCount() || index >= Cells.Count())
        return false;
    UniqueIcon icon(GetItemIcon(index, StripCellSize));
    DrawIntoCells({index}, icon.get());
    Cells.MarkReady(index);
    return true;
}

void FreeIconStrip()
{
    if (IconStrip)
        DeleteObject(std::exchange(IconStrip, nullptr));
    Cells.Clear();
    ReleaseWhenWhole = false;
    ++Generation();
}

void ReleaseIconStrip()
{
    if (IconStrip && !Cells.Whole())
        ReleaseWhenWhole = true;  // kept until its last icons are in and cached
    else
        FreeIconStrip();
}

void SaveIconStrip()
{
    // The strip stays as it is: the file is only read from it. A write that
    // fails leaves no cache, and the next start builds the strip once.
    if (!IconStrip || !Cells.Whole())
        return;
    DeleteFileA(IconStripKeyPath().c_str());  // no key for a strip half written
    if (WriteBitmapFile(IconStripCachePath(), IconStrip)) {
        const std::string key = CacheKeyNow(Cells.Targets());
        HANDLE file = CreateFileA(IconStripKeyPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const bool whole = WriteFile(file, key.data(), static_cast<DWORD>(key.size()), &written, nullptr) &&
                               written == key.size();
            CloseHandle(file);
            if (!whole)
                DeleteFileA(IconStripKeyPath().c_str());
        }
    }
}

bool LoadIconStrip()
{
    if (IconStrip) {
        // Kept since the last showing while its icons came in.
        BuildIconStrip();
        return true;
    }
    const std::vector<std::string> targets = ListTargets();
    UniqueBitmap loaded = ReadCacheFile(IconCellSize, targets);
    if (!loaded) {
        BuildIconStrip();
        return true;
    }
    FreeIconStrip();
    IconStrip = loaded.release();
    StripCellSize = IconCellSize;
    Cells.AdoptAll(targets);
    return true;
}
