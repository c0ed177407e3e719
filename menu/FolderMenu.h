// A folder's contents as a menu beside the row that opens it: subfolders,
// then files, as the shell names them, each with its icon; a subfolder opens
// the next level the same way. The folder is read on a thread of its own, so
// a share that is away holds nothing; nothing read is kept once the menu
// closes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "menu/FolderOrder.h"
#include "menu/MenuRowPainter.h"
#include "platform/Accessible.h"
#include "platform/Raii.h"
#include "platform/Window.h"

inline constexpr const char* kFolderMenuClass = "TvlcrFolderMenu";
inline constexpr const char* kUnreadableCaption = " （開けません）";
inline constexpr const char* kEmptyFolderCaption = " （空のフォルダ）";
inline constexpr const char* kReadingCaption = " （読み込み中）";

inline constexpr UINT kWmFolderListing = WM_APP + 0x41;  // lParam: the folder's entries, owned now
inline constexpr UINT kWmFolderIcon = WM_APP + 0x42;     // lParam: one row's icon, owned now
// What folder menus tell the launch menu that opened them, by message.
inline constexpr UINT kWmFreeFolderMenus = WM_APP + 0x43;  // free the closed ones (posted)
inline constexpr UINT kWmKeepFolderOpen = WM_APP + 0x45;   // wParam: the opening row; the pointer came in (sent)
inline constexpr UINT kWmFolderLaunched = WM_APP + 0x46;   // an entry was started: hand the foreground back (sent)
inline constexpr UINT kWmFolderClosed = WM_APP + 0x47;     // the user left the folder menus: say its row (sent)

class TvlcrFolderMenu final : public Window, private AccessibleSource {
public:
    enum class State { Reading, Listed, Unreadable };

    // The menu of `folder` at `level` (0: beside the launch menu), beside
    // `row`, the opening row's screen rectangle. It shows once the folder is
    // read. Opened by the keyboard, its first row is selected then.
    // `launcher` is the launch menu's window, which the menus tell what
    // happened; the window it belongs to owns them all.
    // `leftward`: the side the menu it is opened from went to.
    TvlcrFolderMenu(HWND launcher, std::wstring folder, int level, const RECT& row, bool byKeyboard,
                    const MenuGeometry& geometry, bool leftward = false);
    ~TvlcrFolderMenu() override;

    HWND Launcher() const noexcept { return launcher_; }
    const std::wstring& Folder() const noexcept { return folder_; }
    int Level() const noexcept { return level_; }
    State ReadState() const noexcept { return state_; }
    const std::vector<FolderEntry>& Entries() const noexcept { return entries_; }
    // The rows shown: the entries, or the one greyed row that says why none.
    int RowCount() const noexcept;
    int SelectedIndex() const noexcept { return selected_; }
    void SetSelectedIndex(int index);
    int FirstRow() const noexcept { return firstRow_; }
    int VisibleRows() const noexcept { return visibleRows_; }
    // The opening row in the menu one level in: which it is, to keep it selected.
    int OpenerRow() const noexcept { return openerRow_; }
    void SetOpenerRow(int row) noexcept { openerRow_ = row; }

    void KeyDown(WPARAM key);
    // The pointer is over the menu, or a deeper one: its hover wait ends.
    void KeepOpener();
    // Starts a row: a file through the shell, a folder in Explorer.
    void LaunchEntry(int row, bool elevated);
    void PaintContent(HDC dc) override;
    // The user is back in this menu from a deeper one: its row is said again.
    void AnnounceFocus();
    // Hidden for good: answers that come late are dropped, never shown.
    void MarkClosed() noexcept { closed_ = true; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Read by screen readers as the launch menu is: a popup of menu items.
    HWND AccessibleWindow() const override { return Handle(); }
    int AccessibleChildCount() const override { return shown_ ? RowCount() : 0; }
    AccessibleFacts DescribeAccessible(int child) const override;
    bool DoAccessibleDefault(int child) override;
    int AccessibleFocus() const override { return selected_ >= 0 ? selected_ + 1 : -1; }
    int AccessibleChildAt(POINT screen) const override;
    void TakeListing(LPARAM answer);
    void TakeIcon(LPARAM answer);
    void ShowBesideRow();
    void AskIcons();
    void DrawRowTo(HDC target, int index);
    void DrawRow(int index);
    bool ScrollIntoView(int index);
    void ScrollBy(int rows);
    int RowAt(int y) const;
    void HandleMouseMove(int y);
    void OpenSubfolder(int row, bool byKeyboard);
    std::wstring EntryPath(int row) const;
    std::wstring TargetName() const;
    static constexpr UINT kWmAccessibleLaunch = WM_APP + 0x44;

    HWND launcher_;
    MenuGeometry launcherGeometry_;  // the launch menu's, for the menus this one opens
    std::wstring folder_;
    int level_;
    RECT row_;
    bool byKeyboard_;
    State state_ = State::Reading;
    bool shown_ = false;
    bool closed_ = false;
    bool leftward_ = false;  // the side it opened to (its parent's until shown)
    std::vector<FolderEntry> entries_;
    std::vector<UniqueIcon> icons_;
    std::vector<bool> iconAsked_;
    int textWidth_ = 0;
    int selected_ = -1;
    int firstRow_ = 0;
    int visibleRows_ = 1;
    int openerRow_ = -1;
    int hoverRow_ = -1;
    MenuRowPainter painter_;
    UniqueIcon folderIcon_, fileIcon_;  // until a row's own icon comes
    AccessibleAnswer accessible_{*this};
};

// The open folder menus, from the one beside the launch menu outwards.
bool FolderMenusOpen();
TvlcrFolderMenu* DeepestFolderMenu();
TvlcrFolderMenu* FolderMenuAt(int level);
// Opens the menu of `folder` at `level`, after closing those from that level
// on; `openerRow` is the row that opens it, in the menu one level in, and
// `launcher` the launch menu's window.
void OpenFolderMenu(HWND launcher, const std::wstring& folder, int level, const RECT& row, int openerRow,
                    bool byKeyboard, const MenuGeometry& geometry, bool leftward = false);
void CloseFolderMenusFrom(int level);
void CloseFolderMenus();
// Frees the menus closed since (they may have closed from their own handler).
void FreeClosedFolderMenus();
