// Shared helpers of the tests that run under Wine.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Seams.h"

// A fresh folder under the temporary directory, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }  // ends in a backslash
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);

// Message boxes are answered by the test, and recorded.
struct RecordedBox {
    HWND owner;
    std::string text, caption;
    UINT style;
};
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    const std::vector<RecordedBox>& boxes() const;

private:
    SeamOverride<MessageBoxFunction> seam_;
};

// Removes a key under HKEY_CURRENT_USER with everything below it.
void DeleteUserKey(const char* subKey);
void SetUserDword(const char* subKey, const char* name, DWORD value);
void SetUserString(const char* subKey, const char* name, const std::string& value);
bool UserValueExists(const char* subKey, const char* name);
DWORD UserValueType(const char* subKey, const char* name);
DWORD GetUserDword(const char* subKey, const char* name);
std::string GetUserString(const char* subKey, const char* name);
bool UserKeyExists(const char* subKey);

// The test process's one main window of class CLASS_VLCR, made on first use
// and set as MainWindow.
HWND TestMainWindow();

// Handles the thread's pending messages, for at most `ms` milliseconds.
void PumpMessages(DWORD ms);

// The number of GDI objects the process holds. GetGuiResources answers 0 under
// Wine; there the live entries of the process's GDI handle table are counted
// instead (a handle value with a zero high word matches its entry whatever
// the entry's generation). Icons hold GDI bitmaps, so leaked icons show too.
unsigned CountGdiObjects();
bool GdiCountFromGetGuiResources();

// A memory DC with a 32-bit top-down DIB section selected, for exact pixels.
class PixelCanvas {
public:
    PixelCanvas(int width, int height, COLORREF fill);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const;  // read from the bits, as 0x00BBGGRR
    int count(RECT area, COLORREF colour) const;  // pixels of that colour in the area

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    const DWORD* bits_ = nullptr;
};

// Every pixel of a bitmap (not selected into a DC), row by row from the top,
// as 0x00BBGGRR.
struct BitmapPixels {
    int width = 0, height = 0, bitsPixel = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool operator==(const BitmapPixels&) const = default;
};
BitmapPixels ReadBitmapPixels(HBITMAP bitmap);

// An icon's width and height in pixels; 0, 0 for no icon.
std::pair<int, int> IconSize(HICON icon);

// A WM_DROPFILES block as the shell hands it over, names in ANSI or in wide
// characters; the receiver releases it.
HGLOBAL MakeDrop(const std::vector<std::string>& names, bool wide = false);
HGLOBAL MakeDrop(const std::vector<std::wstring>& names);

// A shortcut file made as the shell makes them.
void MakeShortcut(const std::string& linkPath, const std::string& target);

// A copy of a program built beside the test program (tools/...), found from
// the test executable's own folder.
std::string BuiltProgramPath(const std::string& relative);

// Sets an environment variable for the scope, and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_, old_;
    bool had_;
};
