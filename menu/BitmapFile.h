// BMP files to and from screen-compatible bitmaps.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "menu/BitmapFileFormat.h"
#include "platform/Raii.h"

// Writes the bitmap (not selected into any DC) as a bottom-up BMP file: 32
// bits a pixel when the bitmap has them, 24 otherwise. False when the pixels
// cannot be had or the file cannot be written whole.
bool WriteBitmapFile(const std::string& path, HBITMAP bitmap);

// The whole file, or nothing when it is missing, unreadable or larger than
// maxBytes.
std::optional<std::string> ReadFileUpTo(const std::string& path, std::size_t maxBytes);

// A screen-compatible bitmap holding the pixels of `file`, which `layout`
// (from ParseBitmapFile) describes; empty when the system cannot make one.
UniqueBitmap ScreenBitmapFromFile(std::string_view file, const BitmapFileLayout& layout);
