#include "platform/HelpFile.h"

#include "platform/ModulePath.h"
#include "platform/ShellHelpers.h"

std::string HelpFileToOpen(const std::string& executableDirectory)
{
    const DWORD attributes = GetFileAttributesA(kHelpFileName);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kHelpFileName;
    return executableDirectory + kHelpFileName;
}

bool OpenHelp(HWND owner) { return ShellOpen(owner, HelpFileToOpen(ExecutableDirectory()), ""); }
