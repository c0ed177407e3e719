#include "menu/FolderReader.h"

#include <windows.h>
#include <shlwapi.h>

#include <map>
#include <memory>

#include "platform/Raii.h"

namespace {

std::wstring ReadString(HKEY root, const std::wstring& key, const wchar_t* value)
{
    wchar_t buffer[260] = {};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return L"";
    return buffer;
}

bool HasValue(HKEY root, const std::wstring& key, const wchar_t* value)
{
    return !key.empty() && RegGetValueW(root, key.c_str(), value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

// The shell's rule for showing a file's extension: a type that says never
// (shortcuts) or always decides; otherwise a registered type's extension is
// hidden while the user's "hide extensions" setting is on, as it is unless
// turned off.
class ExtensionRule {
public:
    ExtensionRule()
    {
        DWORD hide = 1, bytes = sizeof hide;
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                     L"HideFileExt", RRF_RT_REG_DWORD, nullptr, &hide, &bytes);
        hideKnown_ = hide != 0;
    }

    bool Hide(std::wstring_view extension)
    {
        std::wstring key = L"." + std::wstring(extension);
        CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
        const auto known = cache_.find(key);
        if (known != cache_.end())
            return known->second;
        return cache_[key] = Decide(key);
    }

    static bool Hide(std::wstring_view extension, void* self)
    {
        return static_cast<ExtensionRule*>(self)->Hide(extension);
    }

private:
    bool Decide(const std::wstring& key) const
    {
        if (!KeyExists(HKEY_CLASSES_ROOT, key))
            return false;
        const std::wstring type = ReadString(HKEY_CLASSES_ROOT, key, nullptr);
        if (HasValue(HKEY_CLASSES_ROOT, key, L"NeverShowExt") || HasValue(HKEY_CLASSES_ROOT, type, L"NeverShowExt"))
            return true;
        if (HasValue(HKEY_CLASSES_ROOT, key, L"AlwaysShowExt") || HasValue(HKEY_CLASSES_ROOT, type, L"AlwaysShowExt"))
            return false;
        return hideKnown_;
    }

    bool hideKnown_ = true;
    std::map<std::wstring, bool> cache_;
};

struct FindCloser {
    void operator()(HANDLE h) const { FindClose(h); }
};

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        return folder + name;
    return folder + L"\\" + name;
}

FolderListing ReadFolder(const std::wstring& folder)
{
    FolderListing listing;
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = JoinPath(folder, L"*");
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        // An empty drive root answers "no files" and is readable.
        listing.readable = GetLastError() == ERROR_FILE_NOT_FOUND;
        return listing;
    }
    const std::unique_ptr<void, FindCloser> closer(find);
    listing.readable = true;
    ExtensionRule rule;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        FolderEntry entry;
        entry.name = found.cFileName;
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.hidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.system = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entry.shown = ShownFileName(entry.name, entry.folder, &ExtensionRule::Hide, &rule);
        listing.entries.push_back(std::move(entry));
    } while (FindNextFileW(find, &found));
    OrderFolderEntries(listing.entries, StrCmpLogicalW);
    return listing;
}
