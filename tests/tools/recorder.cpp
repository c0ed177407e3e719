// vlcr-recorder: a program for the tests to launch. It appends what it was
// started with to recorder.log beside itself: its current folder and its
// command-line arguments, one "cwd=" and one "args=" line per start.
#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string log(exe);
    log = log.substr(0, log.find_last_of('\\') + 1) + "recorder.log";

    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    // The arguments are what follows the program name on the command line.
    const char* line = GetCommandLineA();
    bool quoted = false;
    while (*line && (quoted || (*line != ' ' && *line != '\t'))) {
        if (*line == '"')
            quoted = !quoted;
        ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;

    if (FILE* f = std::fopen(log.c_str(), "ab")) {
        std::fprintf(f, "cwd=%s\r\nargs=%s\r\n", cwd, line);
        std::fclose(f);
    }
    return 0;
}
