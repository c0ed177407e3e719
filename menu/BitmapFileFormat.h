// The bytes of a Windows BMP file: the headers the program writes, and a
// reader that trusts nothing in a file it did not just write.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The file header (14 bytes) and the BITMAPINFOHEADER (40) before the pixels.
inline constexpr std::size_t kBitmapHeadersSize = 54;
// Larger images are refused before any arithmetic on their size.
inline constexpr int kMaxBitmapDimension = 1 << 20;

// Where the pixels of an uncompressed 24- or 32-bit BMP file lie.
struct BitmapFileLayout {
    int Width = 0;
    int Height = 0;  // positive; TopDown says which row comes first
    int BitCount = 0;
    bool TopDown = false;
    std::size_t PixelOffset = 0;
    std::size_t Stride = 0;  // bytes per row, padded to four
    std::size_t PixelBytes() const { return Stride * static_cast<std::size_t>(Height); }
    bool operator==(const BitmapFileLayout&) const = default;
};

// Bytes per row of `width` pixels, padded to a multiple of four.
std::size_t BitmapRowStride(int width, int bitCount);

// The headers of a bottom-up, uncompressed file of the given size and depth
// (24 or 32); the pixels follow directly.
std::string FormatBitmapFileHeaders(int width, int height, int bitCount);

// The layout of `file` when it is a BMP file this program can read back: "BM",
// one plane, 24 or 32 bits, no compression, sane dimensions, and all of its
// pixel rows inside the file. Anything else gives nothing.
std::optional<BitmapFileLayout> ParseBitmapFile(std::string_view file);
