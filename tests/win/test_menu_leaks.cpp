// A resident program opens its menu thousands of times: a thousand rounds of
// showing, hovering, the command menu, Escape and deactivation must leave the
// GDI objects, USER objects and private bytes where they began.
#include <doctest/doctest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/BusyFlags.h"
#include "core/CommandWindow.h"
#include "core/store/LaunchList.h"
#include "core/Resident.h"
#include "core/store/Settings.h"
#include "core/TrayIcon.h"
#include "menu/IconStrip.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "tests/win/MenuTestSupport.h"

namespace {

constexpr int kRounds = 1000;

// GetGuiResources answers 0 under Wine: there the process's windows and menus
// are counted through the user handle table, whose low words are 0x20 + 2 i.
// Icons and cursors hold GDI bitmaps and show in the GDI count.
unsigned CountUserObjects()
{
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return n;
    const DWORD self = GetCurrentProcessId();
    unsigned live = 0;
    for (ULONG_PTR low = 0x20; low < 0x10000; low += 2) {
        const HWND window = reinterpret_cast<HWND>(low);
        DWORD process = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &process) && process == self)
            ++live;
        else if (IsMenu(reinterpret_cast<HMENU>(low)))
            ++live;
    }
    return live;
}

// Wine leaves PrivateUsage at 0: there the committed private pages of the
// address space are added up instead, which is what the figure means.
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    if (counters.PrivateUsage)
        return counters.PrivateUsage;
    SIZE_T committed = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += region.RegionSize;
        if (region.RegionSize == 0)
            break;
    }
    return committed;
}

struct Counts {
    unsigned gdi, user;
    SIZE_T privateBytes;
};
Counts Measure()
{
    PumpMessages(30);
    return {CountGdiObjects(), CountUserObjects(), PrivateBytes()};
}

// The real popup menu, dismissed by an Escape that waits in the queue: its
// own loop takes the key at once, as from a user.
// A timer ends it should the key not.
void CALLBACK DismissMenu(HWND, UINT, UINT_PTR timer, DWORD) noexcept
{
    KillTimer(nullptr, timer);
    EndMenu();
}
BOOL WINAPI TrackThenDismiss(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect)
{
    PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    SetTimer(nullptr, 0, 200, DismissMenu);
    return TrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
}
int g_menusTracked = 0;
BOOL WINAPI CountedTrack(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect)
{
    ++g_menusTracked;
    return TrackThenDismiss(menu, flags, x, y, reserved, owner, rect);
}

struct RealCommandMenu {
    const SeamOverride<TrackPopupMenuFunction> seam{TrackPopup, CountedTrack};
};

void Mouse(UINT message, int x, int y, WPARAM keys = 0)
{
    SendMessageA(LaunchMenu->Handle(), message, keys, MAKELPARAM(x, y));
}

// One opening as the user makes it; false when a step did not happen.
bool OneOpening()
{
    TrayCallback(0, WM_RBUTTONUP);
    if (!IsWindowVisible(CommandWindow) || !MenuShown)
        return false;
    for (int row = 0; row < 6; ++row)
        Mouse(WM_MOUSEMOVE, 60, RowTop(row) + 10);
    if (LaunchMenu->SelectedIndex() != 5)
        return false;
    const int tracked = g_menusTracked;
    Mouse(WM_RBUTTONUP, 60, RowTop(5) + 10);
    if (g_menusTracked != tracked + 1)
        return false;
    SendMessageA(LaunchMenu->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    if (IsWindowVisible(CommandWindow))
        return false;
    SendMessageA(CommandWindow, WM_ACTIVATEAPP, FALSE, 0);
    return !MenuShown && (!Settings.ReloadItems || (!LaunchListsPresent() && !IconStrip));
}

void RunRounds(bool saving)
{
    MenuFixture f;
    f.Create(NumberedItems(30));
    Settings.ListIconVisible = true;
    Settings.ReloadItems = saving;
    LaunchMenu->SetShowIcons(true);
    IconStrip = MakeTestStrip(32);
    SaveIconStrip();  // what the memory-saving mode loads from
    RealCommandMenu menu;

    // A few rounds first: what is made once and kept is not a leak.
    for (int i = 0; i < 5; ++i)
        REQUIRE(OneOpening());
    const Counts before = Measure();
    const DWORD start = GetTickCount();
    int failed = 0;
    for (int i = 0; i < kRounds; ++i)
        if (!OneOpening())
            ++failed;
    const DWORD took = GetTickCount() - start;
    const Counts after = Measure();
    const std::string mode = saving ? "on" : "off";
    MESSAGE("memory-saving mode " << mode << ": " << kRounds << " rounds in " << took
                                  << " ms; GDI " << before.gdi << " -> " << after.gdi << ", USER " << before.user
                                  << " -> " << after.user << ", private bytes " << before.privateBytes << " -> "
                                  << after.privateBytes);
    CHECK(failed == 0);
    CHECK(after.gdi == before.gdi);
    CHECK(after.user == before.user);
    // The heap settles a little; a leak of even a few hundred bytes a round
    // would pass this.
    CHECK(after.privateBytes <= before.privateBytes + 256 * 1024);
    DeleteFileA(IconStripCachePath().c_str());
}

}  // namespace

TEST_CASE("the leak counters see a deliberate leak of GDI objects, USER objects and private bytes")
{
    const Counts before = Measure();
    std::vector<HBRUSH> brushes;
    std::vector<HMENU> menus;
    std::vector<HWND> windows;
    for (int i = 0; i < 10; ++i) {
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
        menus.push_back(CreatePopupMenu());
    }
    for (int i = 0; i < 3; ++i)
        windows.push_back(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    const SIZE_T kHeld = 4 * 1024 * 1024;
    char* held = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, kHeld));
    REQUIRE(held != nullptr);
    for (SIZE_T i = 0; i < kHeld; i += 4096)
        held[i] = 1;
    const Counts leaking = Measure();
    CHECK(leaking.gdi >= before.gdi + 10);
    CHECK(leaking.user >= before.user + 13);
    CHECK(leaking.privateBytes >= before.privateBytes + kHeld);

    for (HBRUSH b : brushes)
        DeleteObject(b);
    for (HMENU m : menus)
        DestroyMenu(m);
    for (HWND w : windows)
        DestroyWindow(w);
    HeapFree(GetProcessHeap(), 0, held);
    const Counts after = Measure();
    CHECK(after.gdi == before.gdi);
    CHECK(after.user == before.user);
}

TEST_CASE("a thousand openings of the launch menu leak nothing, memory-saving mode off")
{
    RunRounds(false);
}

TEST_CASE("a thousand openings of the launch menu leak nothing, memory-saving mode on")
{
    RunRounds(true);
}
