// vlcr-probe: looks at and pokes the windows of a running program, for the
// end-to-end tests. Texts are printed as hex of their ANSI bytes, so that no
// console code page stands between the window and the test.
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& s)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

std::string Unhex(const char* s)
{
    std::string out;
    for (std::size_t i = 0; s[i] && s[i + 1]; i += 2)
        out.push_back(static_cast<char>(std::strtoul(std::string(s + i, 2).c_str(), nullptr, 16)));
    return out;
}

// The window's client as a screen reader reads it from another process: one
// line per child (0 is the client itself): id, role, state, name as hex of UTF-8.
int ReadAccessible(HWND hwnd)
{
    static constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    CoInitialize(nullptr);
    IAccessible* read = nullptr;
    if (AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&read)) != S_OK)
        return 1;
    LONG count = 0;
    read->get_accChildCount(&count);
    for (LONG id = 0; id <= count; ++id) {
        VARIANT child{};
        child.vt = VT_I4;
        child.lVal = id;
        VARIANT role{}, state{};
        BSTR name = nullptr;
        read->get_accRole(child, &role);
        read->get_accState(child, &state);
        read->get_accName(child, &name);
        char utf8[1024] = {};
        if (name)
            WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
        SysFreeString(name);
        std::printf("%ld %ld %ld %s\n", id, role.lVal, state.lVal, Hex(utf8).c_str());
    }
    VARIANT focus{};
    read->get_accFocus(&focus);
    std::printf("focus %ld\n", focus.vt == VT_I4 ? focus.lVal : -1L);
    read->Release();
    return 0;
}

HWND ParseHwnd(const char* s) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoull(s, nullptr, 0))); }
std::uintptr_t Num(const char* s) { return static_cast<std::uintptr_t>(std::strtoll(s, nullptr, 0)); }

std::string WindowText(HWND hwnd)
{
    char buffer[4096] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                        &got);
    return std::string(buffer);
}

std::string StoredTitle(HWND hwnd)
{
    char buffer[4096] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return std::string(buffer);
}

std::string ClassOf(HWND hwnd)
{
    char buffer[256] = {};
    GetClassNameA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// `ask`: read the text with WM_GETTEXT, which a control of another process
// may answer differently from its stored title; without it the stored title
// is read, and a program busy starting up is not kept waiting for.
void Describe(HWND hwnd, bool ask = true)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    std::printf("hwnd=%#llx class=%s text=%s visible=%d rect=%ld,%ld,%ld,%ld owner=%#llx pid=%lu style=%#lx exstyle=%#lx\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), Hex(ClassOf(hwnd)).c_str(),
                Hex(ask ? WindowText(hwnd) : StoredTitle(hwnd)).c_str(), IsWindowVisible(hwnd) ? 1 : 0, r.left, r.top, r.right, r.bottom,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetWindow(hwnd, GW_OWNER))),
                pid, static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
}

// Top-level windows with the class (and the title when given), visible or not.
std::vector<HWND> FindAll(const std::string& cls, const std::string* title)
{
    std::vector<HWND> found;
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, cls.c_str(), title ? title->c_str() : nullptr)) != nullptr)
        found.push_back(h);
    return found;
}

// What a screen reader hears from other processes: one line per event,
// "EVENT HWND CHILD NAME" with the event in hex and the name (as the reader
// asks it of the event's object) as hex of UTF-8. A line "ready" first.
void CALLBACK PrintEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (object != OBJID_CLIENT)
        return;
    char utf8[1024] = {};
    IAccessible* read = nullptr;
    VARIANT id{};
    if (AccessibleObjectFromEvent(hwnd, object, child, &read, &id) == S_OK && read) {
        BSTR name = nullptr;
        read->get_accName(id, &name);
        if (name)
            WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
        SysFreeString(name);
        read->Release();
    }
    std::printf("%04lx %p %ld %s\n", event, static_cast<void*>(hwnd), child, Hex(utf8).c_str());
    std::fflush(stdout);
}

int ListenForEvents(DWORD ms)
{
    CoInitialize(nullptr);
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, PrintEvent, 0, 0,
                                               WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!hook)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - GetTickCount(), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    UnhookWinEvent(hook);
    return 0;
}

int Usage()
{
    std::fputs("usage: probe find CLASSHEX [TITLEHEX] | wait MS CLASSHEX [TITLEHEX] | appear MS CLASSHEX |\n"
               "       gone MS HWND |\n"
               "       describe HWND | children HWND | msaa HWND | events MS | send HWND MSG W L | post HWND MSG W L |\n"
               "       postthread HWND MSG W L | command HWND ID | foreground | kill PID |\n"
               "       window app|bar|full CLASSHEX TITLEHEX LEFT TOP RIGHT BOTTOM MS\n",
               stderr);
    return 2;
}

// A window of the tests' own for MS milliseconds, or until it is closed:
// "app" an ordinary activated window (another program to click on or to hand
// the foreground back to), "bar" a plain popup that is not activated (a
// taskbar to place the menu against), "full" an activated popup over the
// whole screen (a game, a film). Its description is printed first.
int ShowTestWindow(const std::string& kind, const std::string& cls, const std::string& title, RECT r, DWORD ms)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = cls.c_str();
    RegisterClassA(&wc);
    const bool app = kind == "app", full = kind == "full";
    HWND h = CreateWindowExA(app || full ? 0 : WS_EX_TOOLWINDOW, cls.c_str(), title.c_str(),
                             app ? WS_OVERLAPPEDWINDOW : WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (!h)
        return 1;
    ShowWindow(h, app || full ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (full)
        SetForegroundWindow(h);
    Describe(h);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return 0;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return 0;
}

// Files dropped onto a window of another process. Under Wine the DROPFILES
// block must live in the target's memory: it is written there and its address
// posted as the drop handle. A device for tests only, never for the product.
int DropFiles(HWND target, int count, char** hexNames)
{
    std::string packed;
    for (int i = 0; i < count; ++i)
        packed += Unhex(hexNames[i]) + '\0';
    packed += '\0';
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    block.replace(0, sizeof header, reinterpret_cast<const char*>(&header), sizeof header);
    block += packed;
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return 2;
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    if (!written)
        return 3;
    return PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) ? 0 : 1;
}

// The texts of a list view in another process: the item record and its text
// buffer are placed in that process, as the control reads them from there.
int ListRows(HWND list, int columns)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return 2;
    constexpr int kText = 1024;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote) {
        CloseHandle(process);
        return 3;
    }
    const auto rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::string line = "row=" + std::to_string(row);
        for (int column = 0; column < columns; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kText;
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
            char text[kText] = {};
            ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kText - 1, nullptr);
            line += " col" + std::to_string(column) + "=" + Hex(text);
        }
        const auto state = SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED);
        std::printf("%s selected=%d\n", line.c_str(), (state & LVIS_SELECTED) ? 1 : 0);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return 0;
}

// A shortcut file at `path` that starts `target`.
int MakeLink(const std::string& path, const std::string& target)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->SetPath(target.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        saved = SUCCEEDED(file->Save(wide, TRUE));
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    std::printf("%s\n", path.c_str());
    return saved ? 0 : 1;
}

// A shortcut in the user's (0) or all users' (1) Start menu Programs folder,
// at a path relative to it; its folders are made as needed.
int StartMenuShortcut(bool allUsers, const std::string& relative, const std::string& target)
{
    char root[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, 0, root)))
        return 1;
    const std::string path = std::string(root) + "\\" + relative;
    for (std::size_t at = std::strlen(root) + 1; (at = path.find('\\', at)) != std::string::npos; ++at)
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    return MakeLink(path, target);
}

// Removes a folder of the Start menu with everything in it.
int StartMenuRemove(bool allUsers, const std::string& relative)
{
    char root[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, 0, root)))
        return 1;
    const std::string doubled = std::string(root) + "\\" + relative + '\0' + '\0';
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = doubled.c_str();
    op.fFlags = FOF_NO_UI;
    return SHFileOperationA(&op) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string cmd = argv[1];
    if (cmd == "startmenu-add" && argc >= 5)
        return StartMenuShortcut(Num(argv[2]) != 0, Unhex(argv[3]), Unhex(argv[4]));
    if (cmd == "makelink" && argc >= 4)
        return MakeLink(Unhex(argv[2]), Unhex(argv[3]));
    if (cmd == "startmenu-remove" && argc >= 4)
        return StartMenuRemove(Num(argv[2]) != 0, Unhex(argv[3]));
    if (cmd == "find" && argc >= 3) {
        const std::string title = argc >= 4 ? Unhex(argv[3]) : std::string();
        const auto all = FindAll(Unhex(argv[2]), argc >= 4 ? &title : nullptr);
        for (HWND h : all)
            Describe(h);
        return all.empty() ? 1 : 0;
    }
    if (cmd == "wait" && argc >= 4) {
        const DWORD limit = static_cast<DWORD>(Num(argv[2]));
        const std::string title = argc >= 5 ? Unhex(argv[4]) : std::string();
        const DWORD start = GetTickCount();
        do {
            const auto all = FindAll(Unhex(argv[3]), argc >= 5 ? &title : nullptr);
            for (HWND h : all)
                if (IsWindowVisible(h)) {
                    Describe(h);
                    return 0;
                }
            Sleep(20);
        } while (GetTickCount() - start < limit);
        return 1;
    }
    if (cmd == "appear" && argc >= 4) {  // as wait, for a window whose thread sends no replies
        const DWORD limit = static_cast<DWORD>(Num(argv[2]));
        const std::string cls = Unhex(argv[3]);
        const DWORD start = GetTickCount();
        do {
            for (HWND h : FindAll(cls, nullptr))
                if (IsWindowVisible(h)) {
                    Describe(h, false);
                    return 0;
                }
            Sleep(5);
        } while (GetTickCount() - start < limit);
        return 1;
    }
    if (cmd == "gone" && argc >= 4) {  // waits until the window is hidden or destroyed
        const DWORD limit = static_cast<DWORD>(Num(argv[2]));
        const HWND h = ParseHwnd(argv[3]);
        const DWORD start = GetTickCount();
        do {
            if (!IsWindow(h) || !IsWindowVisible(h))
                return 0;
            Sleep(20);
        } while (GetTickCount() - start < limit);
        return 1;
    }
    if (cmd == "describe" && argc >= 3) {
        const HWND h = ParseHwnd(argv[2]);
        if (!IsWindow(h))
            return 1;
        Describe(h);
        return 0;
    }
    if (cmd == "msaa" && argc >= 3)
        return ReadAccessible(ParseHwnd(argv[2]));
    if (cmd == "events" && argc >= 3)
        return ListenForEvents(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    if (cmd == "children" && argc >= 3) {
        for (HWND c = GetWindow(ParseHwnd(argv[2]), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            Describe(c);
        return 0;
    }
    if ((cmd == "send" || cmd == "post" || cmd == "postthread") && argc >= 6) {
        const HWND h = ParseHwnd(argv[2]);
        const UINT msg = static_cast<UINT>(Num(argv[3]));
        const auto w = static_cast<WPARAM>(Num(argv[4]));
        const auto l = static_cast<LPARAM>(Num(argv[5]));
        if (cmd == "send") {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(h, msg, w, l, SMTO_NORMAL, 5000, &result))
                return 1;
            std::printf("result=%lld\n", static_cast<long long>(result));
            return 0;
        }
        if (cmd == "post")
            return PostMessageA(h, msg, w, l) ? 0 : 1;
        return PostThreadMessageA(GetWindowThreadProcessId(h, nullptr), msg, w, l) ? 0 : 1;
    }
    if (cmd == "foreground") {
        const HWND h = GetForegroundWindow();
        if (!h)
            return 1;
        Describe(h);
        return 0;
    }
    if (cmd == "kill" && argc >= 3) {  // a Windows process of this prefix, by its Windows id
        HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(Num(argv[2])));
        if (!p)
            return 1;
        const BOOL ok = TerminateProcess(p, 9);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
        return ok ? 0 : 1;
    }
    if (cmd == "window" && argc >= 10) {
        const RECT r{static_cast<LONG>(std::strtol(argv[5], nullptr, 0)), static_cast<LONG>(std::strtol(argv[6], nullptr, 0)),
                     static_cast<LONG>(std::strtol(argv[7], nullptr, 0)), static_cast<LONG>(std::strtol(argv[8], nullptr, 0))};
        return ShowTestWindow(argv[2], Unhex(argv[3]), Unhex(argv[4]), r, static_cast<DWORD>(Num(argv[9])));
    }
    if (cmd == "command" && argc >= 4) {  // presses a dialog's button by its identifier
        const HWND h = ParseHwnd(argv[2]);
        return PostMessageA(h, WM_COMMAND, MAKEWPARAM(Num(argv[3]), BN_CLICKED), 0) ? 0 : 1;
    }
    if (cmd == "listrows" && argc >= 4) {  // hwnd of a list view, column count: one line per row
        return ListRows(ParseHwnd(argv[2]), static_cast<int>(Num(argv[3])));
    }
    if (cmd == "dropfiles" && argc >= 4) {  // hwnd, then hex cp932 paths: files dropped from outside
        return DropFiles(ParseHwnd(argv[2]), argc - 3, argv + 3);
    }
    return Usage();
}
