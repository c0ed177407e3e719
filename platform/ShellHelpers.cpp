#include "platform/ShellHelpers.h"

#include <commctrl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <utility>

#include "platform/ModulePath.h"
#include "platform/PathText.h"


// The shell wants wide text; ours is in the system code page.
std::wstring Widen(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

namespace {

// The narrow form, and whether it is exact: no character substituted and
// nothing changed on the way back.
std::optional<std::string> Narrow(const std::wstring& w)
{
    if (w.empty())
        return std::string();
    BOOL substituted = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, &substituted);
    if (n <= 0 || substituted)
        return std::nullopt;
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        &substituted);
    if (substituted || Widen(s) != w)
        return std::nullopt;
    return s;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

HIMAGELIST AttachSystemImageList(HWND control, bool listView, UINT flags, WPARAM listViewSlot)
{
    SHFILEINFOA scratch{};
    const auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &scratch, sizeof scratch, flags));
    SendMessageA(control, listView ? LVM_SETIMAGELIST : TVM_SETIMAGELIST, listView ? listViewSlot : TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(list));
    return list;
}

}  // namespace

bool ShellOpen(HWND owner, const std::string& file, const std::string& parameters)
{
    const HINSTANCE result = ShellExecuteCall(owner, nullptr, file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::optional<std::string> ExactAnsiPath(const std::wstring& path)
{
    if (auto exact = Narrow(path))
        return exact;
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0)
        return std::nullopt;
    std::wstring shortPath(n, L'\0');
    const DWORD copied = GetShortPathNameW(path.c_str(), shortPath.data(), n);
    if (copied == 0 || copied >= n)
        return std::nullopt;
    shortPath.resize(copied);
    return Narrow(shortPath);
}

std::string ShownPath(const std::wstring& path)
{
    if (path.empty())
        return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, "?", nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), s.data(), n, "?", nullptr);
    return s;
}

std::string ResolveShortcut(const std::string& linkPath)
{
    return ExactAnsiPath(ResolveShortcutW(Widen(linkPath))).value_or(std::string());
}

std::optional<std::string> ExactAnsiText(const std::wstring& text) { return Narrow(text); }

ShortcutParts ReadShortcutW(const std::wstring& linkPath)
{
    ShortcutParts parts;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return parts;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) || !file ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return parts;
    wchar_t text[INFOTIPSIZE + 1] = {};
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
        parts.target = text;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetArguments(text, INFOTIPSIZE)))
        parts.arguments = text;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
        parts.directory = text;
    return parts;
}

std::wstring ResolveShortcutW(const std::wstring& linkPath)
{
    ComScope com;
    // The interfaces are released before ComScope uninitialises.
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return std::wstring();
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) || !file)
        return std::wstring();
    if (FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return std::wstring();
    // No owner: the program's own windows are hidden or minimised while it
    // sits in the tray, and a window owned by a minimised one is not shown,
    // so the shell's search for a moved target would stay out of sight.
    if (FAILED(link->Resolve(nullptr, SLR_ANY_MATCH)))
        return std::wstring();
    // Zeroed, so that a link without a path gives "" and never stale text.
    wchar_t target[MAX_PATH + 1] = {};
    WIN32_FIND_DATAW found;
    if (FAILED(link->GetPath(target, MAX_PATH, &found, SLGP_UNCPRIORITY)))
        return std::wstring();
    return std::wstring(target);
}

UniqueItemIdList PathToItemIdList(const std::string& path)
{
    if (path.empty())
        return UniqueItemIdList();
    std::string p = path;
    // A trail byte of 0x5C (表, ソ) is no delimiter.
    if (LastDelimiter(p, "\\", IsAnsiLeadByte) == p.size() - 1)
        p.pop_back();
    if (p.empty())
        return UniqueItemIdList();
    if (p.back() == ':')
        p.push_back('\\');
    if (!PathExists(p))
        return UniqueItemIdList();

    ComPtr<IShellFolder> desktop;
    HRESULT hr = SHGetDesktopFolder(desktop.put());
    if (FAILED(hr) || !desktop)
        throw ShellError("no desktop folder", hr);
    std::wstring wide = Widen(p);
    ULONG eaten = static_cast<ULONG>(wide.size());
    ULONG attributes = 0;
    PIDLIST_RELATIVE parsed = nullptr;
    // No owner, for the reason given in ResolveShortcut.
    hr = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &parsed, &attributes);
    // Children of the desktop folder are absolute lists.
    UniqueItemIdList result(reinterpret_cast<PIDLIST_ABSOLUTE>(parsed));
    if (FAILED(hr))
        throw ShellError("the shell cannot parse an existing path", hr);
    return result;
}

bool GetShellFileInfo(PCIDLIST_ABSOLUTE item, bool large, bool open, SHFILEINFOA& info)
{
    info = SHFILEINFOA{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_PIDL;
    if (open)
        flags |= SHGFI_OPENICON;
    if (!large)
        flags |= SHGFI_SMALLICON;
    const DWORD_PTR answered =
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(item), 0, &info, sizeof info, flags);
    if (answered == 0) {
        // The shell may leave stray bits in the record when it fails: never
        // hand them on as an icon.
        info = SHFILEINFOA{};
        return false;
    }
    return true;
}

HIMAGELIST AttachLargeSystemImageList(HWND control, bool listView)
{
    return AttachSystemImageList(control, listView, SHGFI_SYSICONINDEX, LVSIL_NORMAL);
}

HIMAGELIST AttachSmallSystemImageList(HWND control, bool listView)
{
    return AttachSystemImageList(control, listView, SHGFI_SYSICONINDEX | SHGFI_SMALLICON, LVSIL_SMALL);
}

std::vector<std::wstring> GetDroppedFiles(WPARAM dropParam)
{
    const auto drop = reinterpret_cast<HDROP>(dropParam);
    std::vector<std::wstring> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first: a name cut short names another file.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(copied <= length ? copied : length);
        names.push_back(std::move(name));
    }
    DragFinish(drop);
    return names;
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
