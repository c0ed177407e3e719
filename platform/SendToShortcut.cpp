#include "platform/SendToShortcut.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/Raii.h"

std::wstring SendToShortcutPath()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return std::wstring(folder) + L"\\迅 に登録.lnk";
}

bool SendToShortcutExists()
{
    const std::wstring path = SendToShortcutPath();
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateSendToShortcut(const std::wstring& program)
{
    const std::wstring path = SendToShortcutPath();
    if (path.empty())
        return false;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())) ||
        FAILED(link->SetPath(program.c_str())))
        return false;
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    link->SetWorkingDirectory(folder.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) || !file ||
        FAILED(file->Save(path.c_str(), TRUE)))
        return false;
    return SendToShortcutExists();
}

bool RemoveSendToShortcut()
{
    const std::wstring path = SendToShortcutPath();
    if (path.empty())
        return true;
    DeleteFileW(path.c_str());
    return !SendToShortcutExists();
}
