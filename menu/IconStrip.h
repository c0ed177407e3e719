// The menu's icons, gathered into one bitmap and cached in vlcr.tmp.
#pragma once
#include <windows.h>

extern HBITMAP IconStrip;
extern bool IconStripSaving;

HICON GetItemIcon(int index);
void BuildIconStrip();
void FreeIconStrip();
void SaveIconStrip();
bool LoadIconStrip();
