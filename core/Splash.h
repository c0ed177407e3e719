#pragma once

void ShowSplash();
void HideSplash(bool destroy);
