#include "core/store/LaunchFile.h"

#include <windows.h>

#include "core/store/LaunchEncoding.h"
#include "core/store/LaunchList.h"
#include "core/store/Messages.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "platform/Raii.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& out)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    out.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(out.size() - done);
        if (!ReadFile(file.get(), out.data() + done, want, &got, nullptr))
            return false;
        if (got == 0)
            break;  // the file shrank while being read
        done += got;
    }
    out.resize(done);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD put = 0;
        if (!WriteFile(file.get(), text.data() + done, static_cast<DWORD>(text.size() - done), &put, nullptr) ||
            put == 0)
            return false;
        done += put;
    }
    return FlushFileBuffers(file.get()) != FALSE;
}

}  // namespace


namespace {
// The menu reads the file again each time it rebuilds its rows; a file that
// stays unreadable is reported once, not at every rebuild.
std::string ReportedUnreadablePath;

// What the file was when the program last read or wrote it.
struct FileStamp {
    bool exists = false;
    FILETIME lastWrite{};
    ULONGLONG size = 0;
    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && lastWrite.dwLowDateTime == o.lastWrite.dwLowDateTime &&
               lastWrite.dwHighDateTime == o.lastWrite.dwHighDateTime && size == o.size;
    }
};
std::string KnownPath;
FileStamp KnownStamp;
// The encoding the file came in: a save writes it back the same way, so that
// the editor that wrote it reads it again.
std::string EncodingPath;
LaunchEncoding KnownEncoding = LaunchEncoding::Cp932;

LaunchEncoding EncodingFor(const std::string& path)
{
    return path == EncodingPath ? KnownEncoding : LaunchEncoding::Cp932;
}

void RememberEncoding(const std::string& path, LaunchEncoding encoding)
{
    EncodingPath = path;
    KnownEncoding = encoding;
}

// The items of a UTF-8 file that cp932 cannot hold, named by number and line
// in one message.
void ReportLostItems(const std::string& path, const DecodedLaunchFile& decoded)
{
    std::string text = FillIn(kMsgLostItemsHead, path) + "\r\n";
    for (std::size_t i = 0; i < decoded.LostItems.size(); ++i) {
        const std::size_t item = decoded.LostItems[i];
        text += item == 0 ? std::string(kMsgLostCommand) : FillIn(kMsgLostItem, std::to_string(item));
        text += FillIn(kMsgLostLine, std::to_string(decoded.LostLines[i])) + "\r\n";
    }
    ShowErrorMessage(text + kMsgLostItemsTail);
}

FileStamp StampOf(const std::string& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.exists = true;
    stamp.lastWrite = data.ftLastWriteTime;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return stamp;
}

void Remember(const std::string& path)
{
    KnownPath = path;
    KnownStamp = StampOf(path);
}
}  // namespace

std::string LaunchFileFolder() { return LaunchFileDirectory.empty() ? ExecutableDirectory() : LaunchFileDirectory; }

bool LaunchFileChanged()
{
    const std::string path = LaunchFilePath();
    return path != KnownPath || !(StampOf(path) == KnownStamp);
}

std::string LaunchFilePath()
{
    return LaunchFileFolder() + std::string(kLaunchFileName);
}

LaunchLoadResult LoadLaunchListFrom(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ClearLaunchList();
        ReportedUnreadablePath.clear();
        Remember(path);
        RememberEncoding(path, LaunchEncoding::Cp932);
        return LaunchLoadResult::Missing;
    }
    // A file that cannot be read now (another program holds it) leaves the
    // lists as they were: emptied, the next save would write an empty list
    // over the user's items.
    std::string text;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !ReadWholeFile(path, text)) {
        if (path != ReportedUnreadablePath) {
            ReportedUnreadablePath = path;
            ShowErrorMessage(FillIn(kMsgCannotOpenFile, path));
        }
        return LaunchLoadResult::Unreadable;
    }
    // Stamped before the parse: a change made meanwhile is seen next time.
    Remember(path);
    DecodedLaunchFile decoded = DecodeLaunchFile(text, Utf8ToCp932);
    if (decoded.Undecodable) {
        // Marked as UTF-16 but not that: reported as a file that cannot be
        // read, and the lists stay as they were.
        if (path != ReportedUnreadablePath) {
            ReportedUnreadablePath = path;
            ShowErrorMessage(FillIn(kMsgCannotOpenFile, path));
        }
        return LaunchLoadResult::Unreadable;
    }
    RememberEncoding(path, decoded.Encoding);
    ApplyLaunchFile(std::move(decoded.Parsed), *LaunchLists, DblClickCommand);
    if (decoded.LostItems.empty()) {
        ReportedUnreadablePath.clear();
        return text.empty() ? LaunchLoadResult::Empty : LaunchLoadResult::Loaded;
    }
    // Shown as far as it could be read, and taken as an unreadable file: not
    // a first run, and nothing is saved over it unless the user saves a list.
    if (path != ReportedUnreadablePath) {
        ReportedUnreadablePath = path;
        ReportLostItems(path, decoded);
    }
    return LaunchLoadResult::Unreadable;
}

bool SaveLaunchListTo(const std::string& path)
{
    const std::string text =
        EncodeLaunchFile(FormatLaunchFile(*LaunchLists, DblClickCommand), EncodingFor(path), Cp932ToUtf8);
    // Written beside the target and moved over it, so that the old file stays
    // whole until the new one is complete on disk.
    const std::string temporary = path + ".new";
    if (WriteWholeFile(temporary, text) &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Remember(path);  // its own save is no hand edit
        return true;
    }
    DeleteFileA(temporary.c_str());
    ShowErrorMessage(FillIn(kMsgCannotCreateFile, path));
    return false;
}

LaunchLoadResult LoadLaunchList() { return LoadLaunchListFrom(LaunchFilePath()); }
bool SaveLaunchList() { return SaveLaunchListTo(LaunchFilePath()); }
