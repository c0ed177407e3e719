#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "menu/BitmapFileFormat.h"

namespace {
std::string File(int width, int height, int bitCount)
{
    const int rows = height < 0 ? -height : height;
    std::string f = FormatBitmapFileHeaders(width, rows, bitCount);
    f.append(BitmapRowStride(width, bitCount) * static_cast<std::size_t>(rows), '\x5A');
    return f;
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
}  // namespace

TEST_CASE("row strides are padded to four bytes")
{
    CHECK(BitmapRowStride(1, 24) == 4);
    CHECK(BitmapRowStride(3, 24) == 12);
    CHECK(BitmapRowStride(5, 24) == 16);
    CHECK(BitmapRowStride(80, 24) == 240);
    CHECK(BitmapRowStride(81, 24) == 244);
    CHECK(BitmapRowStride(7, 32) == 28);
}

TEST_CASE("the headers written are the standard ones, and read back")
{
    const std::string f = File(80, 32, 32);
    REQUIRE(f.size() == 54 + 80 * 4 * 32);
    CHECK(f.compare(0, 2, "BM") == 0);
    std::uint32_t fileSize = 0, offset = 0, infoSize = 0, imageSize = 0;
    std::memcpy(&fileSize, f.data() + 2, 4);  // the host is little-endian like the file
    std::memcpy(&offset, f.data() + 10, 4);
    std::memcpy(&infoSize, f.data() + 14, 4);
    std::memcpy(&imageSize, f.data() + 34, 4);
    CHECK(fileSize == f.size());
    CHECK(offset == 54);
    CHECK(infoSize == 40);
    CHECK(imageSize == 80 * 4 * 32);

    const auto layout = ParseBitmapFile(f);
    REQUIRE(layout);
    CHECK(layout->Width == 80);
    CHECK(layout->Height == 32);
    CHECK(layout->BitCount == 32);
    CHECK_FALSE(layout->TopDown);
    CHECK(layout->PixelOffset == 54);
    CHECK(layout->Stride == 320);

    const auto l24 = ParseBitmapFile(File(48, 32, 24));
    REQUIRE(l24);
    CHECK(l24->BitCount == 24);
    CHECK(l24->Stride == 144);
}

TEST_CASE("files of other writers that are still plain 24 or 32 bit images")
{
    SUBCASE("top-down rows")
    {
        std::string f = File(16, 32, 24);
        PutU32(f, 22, static_cast<std::uint32_t>(-32));
        const auto l = ParseBitmapFile(f);
        REQUIRE(l);
        CHECK(l->Height == 32);
        CHECK(l->TopDown);
    }
    SUBCASE("a larger header and a gap before the pixels")
    {
        std::string f = File(16, 32, 32);
        PutU32(f, 14, 124);  // BITMAPV5HEADER
        f.insert(54, std::string(84 + 16, '\0'));
        PutU32(f, 10, 14 + 124 + 16);
        const auto l = ParseBitmapFile(f);
        REQUIRE(l);
        CHECK(l->PixelOffset == 154);
    }
    SUBCASE("bytes after the pixels and a wrong size field are harmless")
    {
        std::string f = File(16, 32, 32) + "trailing";
        PutU32(f, 2, 0);
        CHECK(ParseBitmapFile(f));
    }
}

TEST_CASE("hostile and damaged files are refused")
{
    const std::string good = File(80, 32, 32);
    REQUIRE(ParseBitmapFile(good));
    std::string f = good;

    SUBCASE("empty, shorter than the headers, or not BM")
    {
        CHECK_FALSE(ParseBitmapFile(""));
        CHECK_FALSE(ParseBitmapFile(good.substr(0, 53)));
        f[0] = 'M';
        CHECK_FALSE(ParseBitmapFile(f));
    }
    SUBCASE("truncated pixels, by one byte or one row")
    {
        CHECK_FALSE(ParseBitmapFile(good.substr(0, good.size() - 1)));
        CHECK_FALSE(ParseBitmapFile(good.substr(0, good.size() - 320)));
        CHECK_FALSE(ParseBitmapFile(good.substr(0, 54)));
    }
    SUBCASE("dimensions larger than the data")
    {
        PutU32(f, 18, 81);
        CHECK_FALSE(ParseBitmapFile(f));
        f = good;
        PutU32(f, 22, 33);
        CHECK_FALSE(ParseBitmapFile(f));
    }
    SUBCASE("huge, zero or negative dimensions")
    {
        for (std::uint32_t w : {0u, 0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu, (1u << 20) + 1}) {
            f = good;
            PutU32(f, 18, w);
            CHECK_FALSE(ParseBitmapFile(f));
        }
        for (std::uint32_t h : {0u, 0x80000000u, 0x7FFFFFFFu, static_cast<std::uint32_t>(-(1 << 20) - 1)}) {
            f = good;
            PutU32(f, 22, h);
            CHECK_FALSE(ParseBitmapFile(f));
        }
    }
    SUBCASE("other bit counts, planes or compression")
    {
        for (std::uint16_t bits : {0, 1, 4, 8, 16, 48, 64}) {
            f = good;
            PutU16(f, 28, bits);
            CHECK_FALSE(ParseBitmapFile(f));
        }
        f = good;
        PutU16(f, 26, 2);
        CHECK_FALSE(ParseBitmapFile(f));
        for (std::uint32_t c : {1u, 2u, 3u, 4u, 5u}) {  // RLE8, RLE4, BITFIELDS, JPEG, PNG
            f = good;
            PutU32(f, 30, c);
            CHECK_FALSE(ParseBitmapFile(f));
        }
    }
    SUBCASE("header sizes and pixel offsets that point outside the file or into the headers")
    {
        PutU32(f, 14, 12);  // the old core header has other fields
        CHECK_FALSE(ParseBitmapFile(f));
        f = good;
        PutU32(f, 14, 0xFFFFFFF0u);
        CHECK_FALSE(ParseBitmapFile(f));
        f = good;
        PutU32(f, 10, 20);
        CHECK_FALSE(ParseBitmapFile(f));
        f = good;
        PutU32(f, 10, static_cast<std::uint32_t>(good.size()) + 1);
        CHECK_FALSE(ParseBitmapFile(f));
        f = good;
        PutU32(f, 10, 0xFFFFFFFFu);
        CHECK_FALSE(ParseBitmapFile(f));
        f = good;
        PutU32(f, 10, 58);  // pixels start late: the last row runs past the end
        CHECK_FALSE(ParseBitmapFile(f));
    }
}
