#include "platform/Dialogs.h"

#include "platform/DialogFlag.h"

void ShowErrorMessage(const std::string& text)
{
    const DialogShownScope busy;
    // In front: at start-up (from the Run key) there is no window of the
    // program yet, and a box behind the others would never be seen.
    ShowMessageBox(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
