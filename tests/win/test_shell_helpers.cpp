#include <doctest/doctest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Raii.h"
#include "platform/ShellHelpers.h"
#include "tests/win/WinTestSupport.h"

namespace {
const char* const kNotepad = "C:\\windows\\notepad.exe";

struct ShellCall {
    HWND owner;
    bool verbNull, directoryNull;
    std::string file, parameters;
    INT show;
};
std::vector<ShellCall> g_calls;
INT_PTR g_answer = 33;

HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                  INT show)
{
    g_calls.push_back({owner, verb == nullptr, directory == nullptr, file ? file : "<null>",
                       parameters ? parameters : "<null>", show});
    if (g_answer < 0)
        throw std::runtime_error("the shell fell over");
    return reinterpret_cast<HINSTANCE>(g_answer);
}

class FakeShell {
public:
    explicit FakeShell(INT_PTR answer)
    {
        g_calls.clear();
        g_answer = answer;
    }

private:
    const SeamOverride<ShellExecuteFunction> seam_{ShellExecuteCall, FakeShellExecute};
};


std::string PathOf(PCIDLIST_ABSOLUTE item)
{
    char path[MAX_PATH] = {};
    return SHGetPathFromIDListA(item, path) ? std::string(path) : std::string("<no path>");
}

std::string WithoutSlash(const std::string& dir) { return dir.substr(0, dir.size() - 1); }

}  // namespace

TEST_CASE("ShellOpen hands the request to the shell and reads its answer")
{
    SUBCASE("the arguments: no verb, the parameters, no directory, shown normally")
    {
        FakeShell shell(33);
        HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
        CHECK(ShellOpen(owner, "manual\\index.html", ""));
        CHECK(ShellOpen(nullptr, "C:\\表\\ソフト.exe", "-a \"b c\""));
        REQUIRE(g_calls.size() == 2);
        CHECK(g_calls[0].owner == owner);
        CHECK(g_calls[0].verbNull);
        CHECK(g_calls[0].file == "manual\\index.html");
        CHECK(g_calls[0].parameters == "");  // an empty text, not a null
        CHECK(g_calls[0].directoryNull);
        CHECK(g_calls[0].show == SW_SHOWNORMAL);
        CHECK(g_calls[1].file == "C:\\表\\ソフト.exe");
        CHECK(g_calls[1].parameters == "-a \"b c\"");
    }
    SUBCASE("above 32 is accepted, 32 and below are not")
    {
        {
            FakeShell shell(32);
            CHECK_FALSE(ShellOpen(nullptr, "x", ""));
        }
        {
            FakeShell shell(33);
            CHECK(ShellOpen(nullptr, "x", ""));
        }
        {
            FakeShell shell(0);
            CHECK_FALSE(ShellOpen(nullptr, "x", ""));
        }
        {
            FakeShell shell(2);  // file not found
            CHECK_FALSE(ShellOpen(nullptr, "x", ""));
        }
    }
    SUBCASE("an exception on the way goes on to the caller's error boundary")
    {
        FakeShell shell(-1);
        CHECK_THROWS_AS(ShellOpen(nullptr, "x", ""), std::runtime_error);
        CHECK(g_calls.size() == 1);
    }
}

TEST_CASE("ShellOpen runs a real program through the shell")
{
    TempFolder dir;
    const std::string recorder = dir.file("recorder.exe");
    REQUIRE(CopyFileA(BuiltProgramPath("tools\\vlcr-recorder.exe").c_str(), recorder.c_str(), FALSE));
    const std::string log = dir.file("recorder.log");

    CHECK(ShellOpen(nullptr, recorder, "first second"));
    std::string written;
    for (int i = 0; i < 200 && written.find("args=first second\r\n") == std::string::npos; ++i) {
        Sleep(50);
        if (FileExists(log))
            written = ReadBytes(log);
    }
    CHECK(written.find("args=first second\r\n") != std::string::npos);

    CHECK_FALSE(ShellOpen(nullptr, dir.file("missing.exe"), ""));
    // The recorder may still be closing its log; give it time before cleanup.
    Sleep(200);
}

TEST_CASE("ResolveShortcut gives a shortcut's target and nothing else")
{
    TempFolder dir;
    const std::string target = dir.file("表示ソフト.exe");
    WriteBytes(target, "MZ");
    const std::string link = dir.file("ショートカット.lnk");
    MakeShortcut(link, target);
    const std::string folderLink = dir.file("folder.lnk");
    MakeShortcut(folderLink, WithoutSlash(dir.path()));
    const std::string plain = dir.file("plain.lnk");
    WriteBytes(plain, "this is not a shortcut");

    CHECK(ResolveShortcut(link) == target);
    CHECK(ResolveShortcut(folderLink) == WithoutSlash(dir.path()));
    // After a success, a failure gives "" and never the earlier target.
    CHECK(ResolveShortcut(plain) == "");
    CHECK(ResolveShortcut(link) == target);
    CHECK(ResolveShortcut(dir.file("missing.lnk")) == "");
    CHECK(ResolveShortcut(target) == "");

    SUBCASE("where COM is already initialised, the caller's initialisation survives")
    {
        REQUIRE(CoInitialize(nullptr) == S_OK);
        CHECK(ResolveShortcut(link) == target);
        CHECK(CoInitialize(nullptr) == S_FALSE);  // still initialised
        CoUninitialize();
        CoUninitialize();
    }
}

TEST_CASE("PathToItemIdList parses existing paths and gives null for the rest")
{
    TempFolder dir;
    const std::string file = dir.file("doc.txt");
    WriteBytes(file, "x");
    // 表 ends in the byte 0x5C: it must not be taken for a trailing delimiter.
    const std::string kanji = dir.file("表");
    REQUIRE(CreateDirectoryA(kanji.c_str(), nullptr));

    SUBCASE("a bare drive and the drive's root both parse to the root")
    {
        const UniqueItemIdList bare = PathToItemIdList("C:");
        const UniqueItemIdList root = PathToItemIdList("C:\\");
        REQUIRE(bare);
        REQUIRE(root);
        CHECK(PathOf(bare.get()) == "C:\\");
        CHECK(PathOf(root.get()) == "C:\\");
    }
    SUBCASE("files and folders, with or without one trailing delimiter")
    {
        const UniqueItemIdList f = PathToItemIdList(file);
        REQUIRE(f);
        CHECK(PathOf(f.get()) == file);
        const UniqueItemIdList withSlash = PathToItemIdList(dir.path());
        const UniqueItemIdList without = PathToItemIdList(WithoutSlash(dir.path()));
        REQUIRE(withSlash);
        REQUIRE(without);
        CHECK(PathOf(withSlash.get()) == WithoutSlash(dir.path()));
        CHECK(PathOf(without.get()) == WithoutSlash(dir.path()));
    }
    SUBCASE("a folder whose name ends in a 0x5C trail byte")
    {
        const UniqueItemIdList plain = PathToItemIdList(kanji);
        const UniqueItemIdList slashed = PathToItemIdList(kanji + "\\");
        REQUIRE(plain);
        REQUIRE(slashed);
        CHECK(PathOf(plain.get()) == kanji);
        CHECK(PathOf(slashed.get()) == kanji);
    }
    SUBCASE("an existing path the shell will not parse is an error, not a null")
    {
        // GetFileAttributesA takes forward slashes; this shell's parser does not.
        REQUIRE(FolderExists("C:/windows"));
        CHECK_THROWS_AS(PathToItemIdList("C:/windows"), ShellError);
        try {
            PathToItemIdList("C:/windows");
        } catch (const ShellError& e) {
            CHECK(FAILED(e.result()));
        }
    }
    SUBCASE("empty, a lone delimiter and missing paths give null")
    {
        CHECK_FALSE(PathToItemIdList(""));
        CHECK_FALSE(PathToItemIdList("\\"));
        CHECK_FALSE(PathToItemIdList(dir.file("missing.exe")));
        CHECK_FALSE(PathToItemIdList(dir.file("missing\\")));
        CHECK_FALSE(PathToItemIdList("http://example.com/"));
    }
}

TEST_CASE("GetShellFileInfo gives a new icon of the size asked for and its system index")
{
    TempFolder dir;
    const UniqueItemIdList exe = PathToItemIdList(kNotepad);
    const UniqueItemIdList folder = PathToItemIdList(dir.path());
    REQUIRE(exe);
    REQUIRE(folder);

    SHFILEINFOA info;
    std::memset(&info, 0x5A, sizeof info);  // what the shell does not fill must read as zero
    REQUIRE(GetShellFileInfo(exe.get(), false, false, info));
    UniqueIcon small(info.hIcon);
    REQUIRE(small);
    CHECK(IconSize(small.get()) == std::pair{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)});
    CHECK(info.iIcon >= 0);
    CHECK(info.dwAttributes == 0);
    CHECK(info.szDisplayName[0] == '\0');
    CHECK(info.szTypeName[0] == '\0');

    REQUIRE(GetShellFileInfo(exe.get(), true, false, info));
    UniqueIcon large(info.hIcon);
    REQUIRE(large);
    CHECK(IconSize(large.get()) == std::pair{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
    CHECK(large.get() != small.get());

    // The open flag asks for the open-state icon: a folder's differs.
    REQUIRE(GetShellFileInfo(folder.get(), false, false, info));
    const int closedIndex = info.iIcon;
    DestroyIcon(info.hIcon);
    REQUIRE(GetShellFileInfo(folder.get(), false, true, info));
    const int openIndex = info.iIcon;
    DestroyIcon(info.hIcon);
    CHECK(openIndex != closedIndex);
}

TEST_CASE("the system image lists go into list and tree views, and stay the system's")
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    REQUIRE(InitCommonControlsEx(&icc));
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    REQUIRE(list);
    REQUIRE(tree);

    const HIMAGELIST small = AttachSmallSystemImageList(list, true);
    const HIMAGELIST large = AttachLargeSystemImageList(list, true);
    REQUIRE(small);
    REQUIRE(large);
    CHECK(small != large);
    CHECK(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)) == small);
    CHECK(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)) == large);
    int cx = 0, cy = 0;
    REQUIRE(ImageList_GetIconSize(small, &cx, &cy));
    CHECK(cx == GetSystemMetrics(SM_CXSMICON));
    REQUIRE(ImageList_GetIconSize(large, &cx, &cy));
    CHECK(cx == GetSystemMetrics(SM_CXICON));

    // A tree view has one slot for either size.
    CHECK(AttachSmallSystemImageList(tree, false) == small);
    CHECK(reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) == small);
    CHECK(AttachLargeSystemImageList(tree, false) == large);
    CHECK(reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) == large);

    // The index GetShellFileInfo gives is an index into the same list.
    const UniqueItemIdList exe = PathToItemIdList(kNotepad);
    SHFILEINFOA info;
    REQUIRE(GetShellFileInfo(exe.get(), false, false, info));
    DestroyIcon(info.hIcon);
    CHECK(info.iIcon < ImageList_GetImageCount(small));

    DestroyWindow(list);
    DestroyWindow(tree);
    CHECK(ImageList_GetImageCount(small) > 0);  // not destroyed with the views
    CHECK(ImageList_GetImageCount(large) > 0);
}

TEST_CASE("GetDroppedFiles reads every dropped name in order, whole, and releases the drop")
{
    const std::string longName = "C:\\" + std::string(150, 'a') + "\\" + std::string(150, 'b') + ".txt";
    const std::vector<std::string> names = {"C:\\one.txt", "D:\\表\\ソフト.exe", longName};
    for (const bool wide : {true, false}) {
        CAPTURE(wide);
        HGLOBAL drop = MakeDrop(names, wide);
        REQUIRE(GlobalSize(drop) > 0);
        std::vector<std::string> read;
        for (const std::wstring& name : GetDroppedFiles(reinterpret_cast<WPARAM>(drop)))
            read.push_back(ShownPath(name));
        CHECK(read == names);
        CHECK(GlobalSize(drop) == 0);  // DragFinish freed it
    }
}

TEST_CASE("FolderExists is true for existing folders only")
{
    TempFolder dir;
    WriteBytes(dir.file("file.txt"), "x");
    REQUIRE(CreateDirectoryA(dir.file("表").c_str(), nullptr));
    CHECK(FolderExists(dir.path()));
    CHECK(FolderExists(WithoutSlash(dir.path())));
    CHECK(FolderExists(dir.file("表")));
    CHECK(FolderExists("C:\\"));
    CHECK_FALSE(FolderExists(dir.file("file.txt")));
    CHECK_FALSE(FolderExists(dir.file("missing")));
    CHECK_FALSE(FolderExists(""));
}
