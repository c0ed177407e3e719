// Small helpers over the standard controls, for any form or dialog.
#pragma once
#include <windows.h>

#include <string>

std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);
bool IsChecked(HWND checkBox);
void SetChecked(HWND checkBox, bool checked);
// The focus moves as the dialog manager moves it, in the control's dialog.
void FocusControl(HWND control);
