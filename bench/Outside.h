// The benchmarks that watch real programs from outside: the real vlcr.exe and
// the floor program started in folders of their own, their windows waited
// for, the screen read and the processor time taken from Linux under Wine.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The ordinary program the user works in, on a thread of its own that answers
// its messages at once, as a real program does: a stand-in that did not would
// hold up the launcher whenever activation makes the two talk.
class ForegroundStandIn {
public:
    ForegroundStandIn();
    ~ForegroundStandIn();
    ForegroundStandIn(const ForegroundStandIn&) = delete;
    ForegroundStandIn& operator=(const ForegroundStandIn&) = delete;
    HWND window() const { return window_; }

private:
    static DWORD WINAPI Run(void* self);
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
};

// A started program, ended with the object.
class StartedProgram {
public:
    StartedProgram(const std::string& command, const std::string& folder);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    bool started() const { return info_.hProcess != nullptr; }
    HANDLE process() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }
    // Waits for it to end by itself; false when it has not within `ms`.
    bool WaitEnd(DWORD ms) const;

private:
    PROCESS_INFORMATION info_{};
};

// The window of that class and title, once it exists; null after `ms`.
HWND WaitWindow(const char* cls, const char* title, DWORD ms);
// Prints the windows of a process and their children: why a round failed.
void PrintWindowsOf(DWORD processId);

// Reading the screen in a tight loop would take a core from the programs being
// measured (and from the X server answering each read): a 1 ms nap between
// reads costs every program the same small rounding.
bool WaitPixel(HDC screen, POINT p, COLORREF want, double limitMs);
bool WaitPixelGone(HDC screen, POINT p, COLORREF gone, double limitMs);

// The /proc folders (through Wine's drive Z:) of the Linux processes whose
// command line holds `marker`; none where there is no /proc (Windows).
std::vector<std::string> LinuxProcessFolders(const std::string& marker);

// Processor time in ms of the Linux processes whose command line holds
// `marker`, read through Wine's drive Z: (Wine answers GetProcessTimes for
// another process with zeros). -1 where there is no /proc, on Windows.
double LinuxProcessorMs(const std::string& marker);

// Context switches, voluntary and not, of all the threads of those Linux
// processes; -1 where there is no /proc.
long long LinuxContextSwitches(const std::string& marker);

// Starts a Linux program (xdotool) by its path through drive Z:. It cannot be
// waited for.
bool StartLinuxCommand(const std::string& command);

// A whole file, "" when it cannot be read (/proc through drive Z: as well).
std::string ReadWholeFile(const std::string& path);

// The build folder (the benchmark runs from <build>\bench\).
std::string BuildFolder();
// A folder of its own with a copy of vlcr.exe and a list of that many items
// whose targets exist, so that every row has an icon.
void PlaceVlcr(const std::string& build, const std::string& dir, int items);
void RemoveFolder(const std::string& dir);
// Every setting written, as the program itself writes them.
void SetSavingMode(bool saving);
