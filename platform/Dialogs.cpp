#include "platform/Dialogs.h"

#include "platform/DialogFlag.h"

MessageBoxFunction ShowMessageBox = MessageBoxA;
OpenFileDialogFunction ShowOpenFileDialog = GetOpenFileNameA;

void ShowErrorMessage(const std::string& text)
{
    const DialogShownScope busy;
    ShowMessageBox(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}
