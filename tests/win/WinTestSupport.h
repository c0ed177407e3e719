// Shared helpers of the tests that run under Wine.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    const std::vector<RecordedBox>& boxes() const;
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
