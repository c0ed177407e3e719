// Any bytes parse without fault, and a layout that is accepted lies wholly
// inside the file, so a reader that trusts it never reads past the end.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "menu/BitmapFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto layout = ParseBitmapFile(file);
    if (!layout)
        return 0;
    if (layout->Width <= 0 || layout->Height <= 0 || (layout->BitCount != 24 && layout->BitCount != 32))
        std::abort();
    if (layout->Stride != BitmapRowStride(layout->Width, layout->BitCount) || layout->Stride % 4 != 0)
        std::abort();
    if (layout->PixelOffset < kBitmapHeadersSize || layout->PixelOffset + layout->PixelBytes() > size)
        std::abort();
    // Touch every pixel byte, as SetDIBits would.
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < layout->PixelBytes(); ++i)
        sum += data[layout->PixelOffset + i];
    if (sum > 255u * layout->PixelBytes())
        std::abort();
    return 0;
}
