// Private messages between a form and the controls on it. WM_USER and
// WM_USER + 1 are the dialog manager's DM_GETDEFID and DM_SETDEFID, so these
// live at WM_APP and above.
#pragma once
#include <windows.h>

// Control -> its parent form: the form's modal result becomes wParam (a value
// of 0 is stored too and ends nothing). Windows that are no form ignore it.
inline constexpr UINT kFormSetModalResult = WM_APP + 0x40;

// Form -> each of its controls, for Enter (VK_RETURN) and Escape (VK_ESCAPE)
// that no focused control took: wParam is the key. A control that acts on the
// key answers TRUE and the form stops asking; everything else answers 0.
inline constexpr UINT kFormDialogKey = WM_APP + 0x41;
