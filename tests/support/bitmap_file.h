// Bitmap files made byte by byte for the picture tests (no Windows headers,
// so the core tests use it too).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testbmp {

struct Layout {
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint8_t> table;  // colour table bytes (blue, green, red, 0)
    std::vector<std::uint8_t> pixels;
    long long offset = -1;           // pixel-data offset; -1: right after the table
    long long sizeImage = -1;        // -1: the pixel bytes given
};

inline void Put(std::string& s, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::string File(const Layout& b) {
    // The 40 bytes written, or more when the stated size is larger.
    const std::uint32_t infoBytes = b.headerSize > 40 ? b.headerSize : 40;
    const std::uint32_t offset =
        b.offset >= 0 ? static_cast<std::uint32_t>(b.offset) : 14 + infoBytes + static_cast<std::uint32_t>(b.table.size());
    std::string s = "BM";
    Put(s, 14 + infoBytes + b.table.size() + b.pixels.size(), 4);
    Put(s, 0, 4);
    Put(s, offset, 4);
    Put(s, b.headerSize, 4);
    Put(s, static_cast<std::uint32_t>(b.width), 4);
    Put(s, static_cast<std::uint32_t>(b.height), 4);
    Put(s, 1, 2);
    Put(s, b.bitCount, 2);
    Put(s, b.compression, 4);
    Put(s, b.sizeImage >= 0 ? static_cast<std::uint64_t>(b.sizeImage) : b.pixels.size(), 4);
    Put(s, 2835, 4);
    Put(s, 2835, 4);
    Put(s, b.colorsUsed, 4);
    Put(s, 0, 4);
    s.append(infoBytes - 40, '\0');
    s.append(b.table.begin(), b.table.end());
    s.append(b.pixels.begin(), b.pixels.end());
    return s;
}

// A 256-entry colour table whose entry i is (red i, green 255 - i, blue i / 2).
inline std::vector<std::uint8_t> Table256() {
    std::vector<std::uint8_t> t;
    for (int i = 0; i < 256; ++i) {
        t.push_back(static_cast<std::uint8_t>(i / 2));
        t.push_back(static_cast<std::uint8_t>(255 - i));
        t.push_back(static_cast<std::uint8_t>(i));
        t.push_back(0);
    }
    return t;
}

}  // namespace testbmp
