// Shell services shared by the dialogs, the item commands and the icon strip.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Raii.h"
#include "platform/Seams.h"

// An item-id-list from the shell's allocator, freed with CoTaskMemFree.
using UniqueItemIdList = UniqueCoTask<PIDLIST_ABSOLUTE>;

// The shell refused a request that should have worked: the desktop folder
// could not be had, or parsing a path that exists failed.
class ShellError : public std::runtime_error {
public:
    ShellError(const char* what, HRESULT hr) : std::runtime_error(what), result_(hr) {}
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// Opens a document, folder, program or address with the shell's default
// action. True when the shell accepted it.
bool ShellOpen(HWND owner, const std::string& file, const std::string& parameters);

// The target of a shortcut file, or "" when the file is no shortcut or its
// target cannot be had. The wide form keeps every character of the target;
// the narrow one gives "" too for a target the ANSI code page cannot hold.
std::wstring ResolveShortcutW(const std::wstring& linkPath);
std::string ResolveShortcut(const std::string& linkPath);

// What a shortcut starts, as it is written: no search for a moved target.
// An installer's shortcut names no file (its target is empty); COM must be
// set up on the calling thread.
struct ShortcutParts {
    std::wstring target, arguments, directory;
};
ShortcutParts ReadShortcutW(const std::wstring& linkPath);

// A path in the ANSI code page exactly: as it is when the code page holds
// every character, else its short (8.3) form when the volume has one and that
// converts exactly; nothing when neither does. Never a path with a character
// substituted.
std::optional<std::string> ExactAnsiPath(const std::wstring& path);
// Any text in the ANSI code page exactly, or nothing.
std::optional<std::string> ExactAnsiText(const std::wstring& text);
// The path for a message: characters the code page lacks shown as "?".
std::string ShownPath(const std::wstring& path);
std::wstring Widen(const std::string& s);

// The shell's item-id-list for an existing file or folder ("C:" is taken as
// "C:\", one trailing backslash is dropped). Null for "", "\" and paths that
// do not exist. Throws ShellError when the shell fails on an existing path.
UniqueItemIdList PathToItemIdList(const std::string& path);

// Fills `info` with the item's icon (a new one: the caller destroys it) and
// its index in the system image list. When the shell has no answer the record
// is all zero and the result is false.
bool GetShellFileInfo(PCIDLIST_ABSOLUTE item, bool large, bool open, SHFILEINFOA& info);

// Puts the system's shared image list into a list view (listView true) or a
// tree view and returns it. The list belongs to the system: give the list
// view LVS_SHAREIMAGELISTS so that it does not destroy it either.
HIMAGELIST AttachLargeSystemImageList(HWND control, bool listView);
HIMAGELIST AttachSmallSystemImageList(HWND control, bool listView);

// The full names of the files of a WM_DROPFILES message (its wParam), in the
// drop's order, however long, every character kept. The drop handle is
// released here (DragFinish): the names are copied, and the caller must not
// release it again.
std::vector<std::wstring> GetDroppedFiles(WPARAM dropParam);

// True only for an existing folder.
bool FolderExists(const std::string& path);
