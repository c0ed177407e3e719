#include "menu/BitmapFileFormat.h"

namespace {

std::uint32_t ReadU32(std::string_view s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t ReadU16(std::string_view s, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      (static_cast<unsigned char>(s[at + 1]) << 8));
}

void PutU32(std::string& s, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU16(std::string& s, std::size_t at, std::uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

std::size_t BitmapRowStride(int width, int bitCount)
{
    const std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount);
    return (bits + 31) / 32 * 4;
}

std::string FormatBitmapFileHeaders(int width, int height, int bitCount)
{
    const std::size_t pixels = BitmapRowStride(width, bitCount) * static_cast<std::size_t>(height);
    std::string h(kBitmapHeadersSize, '\0');
    h[0] = 'B';
    h[1] = 'M';
    PutU32(h, 2, static_cast<std::uint32_t>(kBitmapHeadersSize + pixels));
    PutU32(h, 10, static_cast<std::uint32_t>(kBitmapHeadersSize));
    PutU32(h, 14, kInfoHeaderSize);
    PutU32(h, 18, static_cast<std::uint32_t>(width));
    PutU32(h, 22, static_cast<std::uint32_t>(height));
    PutU16(h, 26, 1);
    PutU16(h, 28, static_cast<std::uint16_t>(bitCount));
    PutU32(h, 30, 0);  // BI_RGB
    PutU32(h, 34, static_cast<std::uint32_t>(pixels));
    PutU32(h, 38, 2835);  // 72 dpi, as most writers put it
    PutU32(h, 42, 2835);
    return h;
}

std::optional<BitmapFileLayout> ParseBitmapFile(std::string_view file)
{
    if (file.size() < kBitmapHeadersSize || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixelOffset = ReadU32(file, 10);
    const std::uint32_t infoSize = ReadU32(file, 14);
    // Later header versions begin with the same 40 bytes.
    if (infoSize < kInfoHeaderSize || infoSize > file.size() - kFileHeaderSize)
        return std::nullopt;
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > file.size())
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(ReadU32(file, 18));
    const auto height = static_cast<std::int32_t>(ReadU32(file, 22));
    const std::uint16_t planes = ReadU16(file, 26);
    const std::uint16_t bitCount = ReadU16(file, 28);
    const std::uint32_t compression = ReadU32(file, 30);
    if (planes != 1 || (bitCount != 24 && bitCount != 32) || compression != 0)
        return std::nullopt;
    // Compared before negating: -INT32_MIN does not exist.
    if (width <= 0 || width > kMaxBitmapDimension || height == 0 || height < -kMaxBitmapDimension ||
        height > kMaxBitmapDimension)
        return std::nullopt;

    BitmapFileLayout layout;
    layout.Width = width;
    layout.Height = height < 0 ? -height : height;
    layout.BitCount = bitCount;
    layout.TopDown = height < 0;
    layout.PixelOffset = pixelOffset;
    layout.Stride = BitmapRowStride(width, bitCount);
    // With the dimensions capped this product cannot overflow 64 bits.
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(layout.Stride) * static_cast<std::uint64_t>(layout.Height);
    if (pixelBytes > file.size() - layout.PixelOffset)
        return std::nullopt;
    return layout;
}
