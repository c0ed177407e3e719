#include "tests/win/WinTestSupport.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/Resident.h"
#include "platform/Dialogs.h"
#include "platform/Raii.h"

namespace {
std::vector<RecordedBox> g_boxes;
int g_answer = IDOK;

int RecordBox(HWND owner, const char* text, const char* caption, UINT style)
{
    g_boxes.push_back({owner, text ? text : "", caption ? caption : "", style});
    return g_answer;
}

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + "\\");
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}
}  // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH + 1];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(base) + "vlcrtest-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + path_);
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

MessageBoxRecorder::MessageBoxRecorder(int answer) : seam_(ShowMessageBox, RecordBox)
{
    g_boxes.clear();
    g_answer = answer;
}

const std::vector<RecordedBox>& MessageBoxRecorder::boxes() const { return g_boxes; }

void DeleteUserKey(const char* subKey)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey);
}

namespace {
HKEY CreateUserKey(const char* subKey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot create key ") + subKey);
    return key;
}

bool QueryUserValue(const char* subKey, const char* name, DWORD* type, std::string* data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    if (rc == ERROR_SUCCESS && data) {
        data->resize(size);
        rc = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data->data()), &size);
        data->resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
}  // namespace

void SetUserDword(const char* subKey, const char* name, DWORD value)
{
    HKEY key = CreateUserKey(subKey);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void SetUserString(const char* subKey, const char* name, const std::string& value)
{
    HKEY key = CreateUserKey(subKey);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

bool UserValueExists(const char* subKey, const char* name) { return QueryUserValue(subKey, name, nullptr, nullptr); }

DWORD UserValueType(const char* subKey, const char* name)
{
    DWORD type = 0;
    return QueryUserValue(subKey, name, &type, nullptr) ? type : REG_NONE;
}

DWORD GetUserDword(const char* subKey, const char* name)
{
    std::string data;
    DWORD type = 0;
    if (!QueryUserValue(subKey, name, &type, &data) || type != REG_DWORD || data.size() != 4)
        throw std::runtime_error(std::string("no DWORD ") + name);
    DWORD v;
    memcpy(&v, data.data(), 4);
    return v;
}

std::string GetUserString(const char* subKey, const char* name)
{
    std::string data;
    DWORD type = 0;
    if (!QueryUserValue(subKey, name, &type, &data) || type != REG_SZ)
        throw std::runtime_error(std::string("no string ") + name);
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

bool UserKeyExists(const char* subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void PumpMessages(DWORD ms)
{
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

HWND TestMainWindow()
{
    static HWND hwnd = [] {
        ProgramInstance = GetModuleHandleA(nullptr);
        RegisterMainWindowClass();
        return CreateMainWindow();
    }();
    MainWindow = hwnd;
    return hwnd;
}

bool GdiCountFromGetGuiResources() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0; }

unsigned CountGdiObjects()
{
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return n;
    unsigned live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++live;
    return live;
}

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : width_(width), height_(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc_ || !bitmap_)
        throw std::runtime_error("no DIB section");
    bits_ = static_cast<const DWORD*>(bits);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

PixelCanvas::~PixelCanvas()
{
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF PixelCanvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    GdiFlush();
    const DWORD bgrx = bits_[y * width_ + x];
    return ((bgrx & 0xFF) << 16) | (bgrx & 0xFF00) | ((bgrx >> 16) & 0xFF);
}

int PixelCanvas::count(RECT area, COLORREF colour) const
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += at(x, y) == colour;
    return n;
}

BitmapPixels ReadBitmapPixels(HBITMAP bitmap)
{
    BitmapPixels out;
    BITMAP bm{};
    if (GetObjectA(bitmap, sizeof bm, &bm) != sizeof bm)
        throw std::runtime_error("not a bitmap");
    out.width = bm.bmWidth;
    out.height = bm.bmHeight;
    out.bitsPixel = bm.bmBitsPixel;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(static_cast<std::size_t>(bm.bmWidth * bm.bmHeight));
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight)
        throw std::runtime_error("GetDIBits failed");
    out.pixels.reserve(bits.size());
    for (DWORD bgrx : bits)
        out.pixels.push_back(((bgrx & 0xFF) << 16) | (bgrx & 0xFF00) | ((bgrx >> 16) & 0xFF));
    return out;
}

std::pair<int, int> IconSize(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    BITMAP bm{};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    const int height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bm.bmWidth, height};
}

std::string BuiltProgramPath(const std::string& relative)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\'));      // tests\win
    dir = dir.substr(0, dir.find_last_of('\\') + 1);  // tests\ .
    return dir + relative;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : name_(name)
{
    char buffer[32768];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    had_ = n > 0 && n < sizeof buffer;
    if (had_)
        old_.assign(buffer, n);
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

HGLOBAL MakeDrop(const std::vector<std::string>& names, bool wide)
{
    std::wstring wideList;
    std::string list;
    for (const std::string& n : names) {
        list += n + '\0';
        wchar_t w[1024];
        const int len = MultiByteToWideChar(CP_ACP, 0, n.c_str(), -1, w, 1024);
        wideList.append(w, static_cast<std::size_t>(len));
    }
    list += '\0';
    wideList += L'\0';
    const std::size_t bytes = wide ? wideList.size() * sizeof(wchar_t) : list.size();
    HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    std::memcpy(drop + 1, wide ? static_cast<const void*>(wideList.data()) : list.data(), bytes);
    GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDrop(const std::vector<std::wstring>& names)
{
    std::wstring list;
    for (const std::wstring& n : names)
        list += n + L'\0';
    list += L'\0';
    const std::size_t bytes = list.size() * sizeof(wchar_t);
    HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), bytes);
    GlobalUnlock(h);
    return h;
}

void MakeShortcut(const std::string& linkPath, const std::string& target)
{
    ComScope com;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void())) ||
        FAILED(link->SetPath(target.c_str())))
        throw std::runtime_error("cannot make a shell link");
    ComPtr<IPersistFile> file;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) || FAILED(file->Save(wide, TRUE)))
        throw std::runtime_error("cannot save " + linkPath);
}
