// A Windows bitmap file taken apart for drawing. The file states its own
// lengths (pixel-data offset, header size, colour count, picture size);
// each is checked against the bytes it actually holds, so drawing never
// reads past what was loaded.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dib {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
// Zero bytes kept after the information header and colour table, as the
// bitmap's readers have always had them: a table entry the header counts
// but the file leaves out reads as black.
constexpr std::size_t kHeaderSlack = 1010;
// A picture file larger than this is refused unread.
constexpr std::uint64_t kMaxFileSize = 64u << 20;

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

struct InfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top row first
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
};

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct Bitmap {
    // Bytes 14 up to the pixel data (information header, colour table),
    // followed by kHeaderSlack zero bytes.
    std::vector<std::uint8_t> header;
    // The pixel rows exactly as stored, from the pixel-data offset to the end.
    std::vector<std::uint8_t> bits;
    InfoHeader info;
};

// Colours-used when it is set, otherwise 2, 16 or 256 for 1, 4 or 8 bits
// per pixel and 0 for any other depth.
unsigned NumberOfColours(const InfoHeader& info);
// Bytes of one stored row of an uncompressed picture (a multiple of 4).
std::uint64_t RowBytes(std::int32_t width, unsigned bitCount);

// Takes a whole bitmap file apart. False when it is not one ("BM"), when
// the pixel-data offset leaves no room for the information header or lies
// beyond the file, or when the header asks for more colour-table or pixel
// bytes than the file holds.
bool Decode(const std::uint8_t* data, std::size_t size, Bitmap& out);

// The colour table as the header counts it (entries stored blue, green,
// red, reserved right after the 40-byte header).
std::vector<Rgb> ColourTable(const Bitmap& bitmap);

}  // namespace dib
