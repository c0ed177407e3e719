#include "platform/Dialogs.h"

#include "core/Resident.h"

MessageBoxFunction ShowMessageBox = MessageBoxA;

void ShowErrorMessage(const std::string& text)
{
    const bool was = DialogShown;
    DialogShown = true;
    ShowMessageBox(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
    DialogShown = was;
}
