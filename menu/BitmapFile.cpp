#include "menu/BitmapFile.h"

namespace {

BITMAPINFO InfoFor(int width, int height, int bitCount)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // negative: top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

bool WriteBitmapFile(const std::string& path, HBITMAP bitmap)
{
    BITMAP bm{};
    if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) != sizeof bm || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    const int bitCount = bm.bmBitsPixel == 32 ? 32 : 24;
    std::string bytes = FormatBitmapFileHeaders(bm.bmWidth, bm.bmHeight, bitCount);
    const std::size_t headers = bytes.size();
    bytes.resize(headers + BitmapRowStride(bm.bmWidth, bitCount) * static_cast<std::size_t>(bm.bmHeight));
    BITMAPINFO info = InfoFor(bm.bmWidth, bm.bmHeight, bitCount);
    {
        WindowDc screen(nullptr);
        if (!screen || GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), bytes.data() + headers,
                                 &info, DIB_RGB_COLORS) != bm.bmHeight)
            return false;
    }
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    return file && WriteAll(file.get(), bytes.data(), bytes.size());
}

std::optional<std::string> ReadFileUpTo(const std::string& path, std::size_t maxBytes)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        const auto want = static_cast<DWORD>(bytes.size() - got > 0x10000000 ? 0x10000000 : bytes.size() - got);
        if (!ReadFile(file.get(), bytes.data() + got, want, &n, nullptr))
            return std::nullopt;
        if (n == 0)
            break;  // shorter than it said: what was read is what there is
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

UniqueBitmap ScreenBitmapFromFile(std::string_view file, const BitmapFileLayout& layout)
{
    if (layout.PixelOffset > file.size() || layout.PixelBytes() > file.size() - layout.PixelOffset)
        return UniqueBitmap();
    WindowDc screen(nullptr);
    if (!screen)
        return UniqueBitmap();
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), layout.Width, layout.Height));
    if (!bitmap)
        return UniqueBitmap();
    const BITMAPINFO info =
        InfoFor(layout.Width, layout.TopDown ? -layout.Height : layout.Height, layout.BitCount);
    if (SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(layout.Height), file.data() + layout.PixelOffset,
                  &info, DIB_RGB_COLORS) != layout.Height)
        return UniqueBitmap();
    return bitmap;
}
