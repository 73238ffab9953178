#include "shell/dib_format.h"

namespace dib {

namespace {

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

InfoHeader ParseInfo(const std::uint8_t* p) {
    InfoHeader h;
    h.size = Le32(p);
    h.width = static_cast<std::int32_t>(Le32(p + 4));
    h.height = static_cast<std::int32_t>(Le32(p + 8));
    h.planes = Le16(p + 12);
    h.bitCount = Le16(p + 14);
    h.compression = Le32(p + 16);
    h.sizeImage = Le32(p + 20);
    h.colorsUsed = Le32(p + 32);
    return h;
}

bool KnownDepth(unsigned bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// The pixel bytes the header's picture needs; 0 when the header describes
// nothing that can be drawn.
std::uint64_t PixelBytesNeeded(const InfoHeader& h) {
    if (h.width <= 0 || h.height == 0 || !KnownDepth(h.bitCount)) return 0;
    const std::uint64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    switch (h.compression) {
        case kRgb:
            return RowBytes(h.width, h.bitCount) * rows;
        case kBitFields:
            return h.bitCount == 16 || h.bitCount == 32 ? RowBytes(h.width, h.bitCount) * rows : 0;
        case kRle8:
        case kRle4:
            // Run-length rows are read up to the stated image size only.
            if (h.height < 0 || h.bitCount != (h.compression == kRle8 ? 8 : 4)) return 0;
            return h.sizeImage;
        default:
            return 0;
    }
}

}  // namespace

unsigned NumberOfColours(const InfoHeader& info) {
    if (info.colorsUsed != 0) return info.colorsUsed;
    switch (info.bitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

std::uint64_t RowBytes(std::int32_t width, unsigned bitCount) {
    if (width <= 0) return 0;
    return (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
}

bool Decode(const std::uint8_t* data, std::size_t size, Bitmap& out) {
    if (size < kFileHeaderSize || size > kMaxFileSize || data[0] != 'B' || data[1] != 'M') return false;
    const std::uint32_t offset = Le32(data + 10);
    // The information header lies between the file header and the pixels.
    if (offset < kFileHeaderSize + kInfoHeaderSize || offset > size) return false;
    const std::size_t headerBytes = offset - kFileHeaderSize;
    const InfoHeader info = ParseInfo(data + kFileHeaderSize);
    if (info.size < kInfoHeaderSize || info.size > headerBytes) return false;

    const std::uint64_t pixels = PixelBytesNeeded(info);
    if (pixels == 0 || pixels > size - offset) return false;
    // The colour table (after the three masks of a 40-byte bit-field
    // header) must lie inside the header block, zero slack included.
    const std::uint64_t masks = info.compression == kBitFields && info.size == kInfoHeaderSize ? 12 : 0;
    const std::uint64_t tableEnd = info.size + masks + static_cast<std::uint64_t>(NumberOfColours(info)) * 4;
    if (tableEnd > headerBytes + kHeaderSlack) return false;

    out.info = info;
    out.header.assign(data + kFileHeaderSize, data + offset);
    out.header.resize(headerBytes + kHeaderSlack, 0);
    out.bits.assign(data + offset, data + size);
    return true;
}

std::vector<Rgb> ColourTable(const Bitmap& bitmap) {
    std::vector<Rgb> table;
    const std::size_t n = NumberOfColours(bitmap.info);
    if (bitmap.header.size() < kInfoHeaderSize || (bitmap.header.size() - kInfoHeaderSize) / 4 < n) return table;
    table.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* e = bitmap.header.data() + kInfoHeaderSize + i * 4;
        table.push_back({e[2], e[1], e[0]});
    }
    return table;
}

}  // namespace dib
