// Decodes arbitrary bytes as a bitmap file; whatever decodes must keep
// every read that drawing makes inside the blocks it kept.
#include "shell/dib_format.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dib::Bitmap bitmap;
    if (!dib::Decode(data, size, bitmap)) return 0;
    const dib::InfoHeader& h = bitmap.info;
    if (bitmap.header.size() < dib::kInfoHeaderSize + dib::kHeaderSlack || h.size > bitmap.header.size())
        std::abort();
    const std::uint64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    if ((h.compression == dib::kRgb || h.compression == dib::kBitFields) &&
        dib::RowBytes(h.width, h.bitCount) * rows > bitmap.bits.size())
        std::abort();
    if ((h.compression == dib::kRle8 || h.compression == dib::kRle4) && h.sizeImage > bitmap.bits.size())
        std::abort();
    if (h.size + 4ull * dib::NumberOfColours(h) > bitmap.header.size()) std::abort();
    if (dib::ColourTable(bitmap).size() != dib::NumberOfColours(h)) std::abort();
    return 0;
}
