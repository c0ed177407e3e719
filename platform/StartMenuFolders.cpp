#include "platform/StartMenuFolders.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/Raii.h"

namespace {

// The shell's Applications folder (shell:AppsFolder).
constexpr KNOWNFOLDERID kAppsFolder = {0x1e87508d, 0x89c2, 0x42f0, {0x8a, 0x7e, 0x64, 0x5a, 0x0f, 0x50, 0xca, 0x58}};

void FindBelow(const std::wstring& root, const std::wstring& folder, const ShortcutFound& found, int depth)
{
    if (depth > 32)
        return;  // a junction that loops
    const std::wstring here = folder.empty() ? root : root + L'\\' + folder;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((here + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                FindBelow(root, folder.empty() ? name : folder + L'\\' + name, found, depth + 1);
            continue;
        }
        if (name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".lnk") == 0)
            found(folder, name.substr(0, name.size() - 4), here + L'\\' + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::wstring DisplayName(IShellFolder* folder, PCUITEMID_CHILD child, SHGDNF flags)
{
    STRRET ret{};
    wchar_t text[MAX_PATH] = {};
    if (FAILED(folder->GetDisplayNameOf(child, flags, &ret)) || FAILED(StrRetToBufW(&ret, child, text, MAX_PATH)))
        return std::wstring();
    return text;
}

}  // namespace

std::wstring ProgramsFolder(bool allUsers)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT,
                                path)))
        return std::wstring();
    return path;
}

void FindShortcuts(const std::wstring& root, const ShortcutFound& found)
{
    if (!root.empty())
        FindBelow(root, std::wstring(), found, 0);
}

std::vector<StoreApp> ListStoreApps()
{
    std::vector<StoreApp> apps;
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(SHGetKnownFolderIDList(kAppsFolder, 0, nullptr, &raw)) || !raw)
        return apps;
    const UniqueCoTask<PIDLIST_ABSOLUTE> root(raw);
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())))
        return apps;
    ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(root.get(), nullptr, IID_IShellFolder, folder.put_void())) || !folder)
        return apps;
    ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK || !items)
        return apps;
    PITEMID_CHILD child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        const UniqueCoTask<PITEMID_CHILD> owned(child);
        StoreApp app{DisplayName(folder.get(), child, SHGDN_NORMAL),
                     DisplayName(folder.get(), child, SHGDN_FORPARSING), 0};
        // A packaged app's id holds "!"; a desktop program's is a path.
        if (app.name.empty() || app.id.find(L'!') == std::wstring::npos || app.id.find(L'\\') != std::wstring::npos)
            continue;
        if (const UniqueCoTask<PIDLIST_ABSOLUTE> full(ILCombine(root.get(), child)); full) {
            SHFILEINFOW info{};
            if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(full.get()), 0, &info, sizeof info,
                               SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
                app.icon = info.iIcon;
        }
        apps.push_back(std::move(app));
    }
    return apps;
}

int SmallIconIndex(const std::wstring& path, bool byKind)
{
    SHFILEINFOW info{};
    const UINT kind = byKind ? SHGFI_USEFILEATTRIBUTES : 0;
    if (!SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | kind))
        return 0;
    return info.iIcon;
}
