#include "shell/dib.h"

#include <cstdint>
#include <vector>

CDib::~CDib() { Release(); }

void CDib::Release() {
    bitmap_ = {};
    if (palette_) DeleteObject(palette_);
    palette_ = nullptr;
    readFailed_ = false;
}

int CDib::Height() const {
    if (!loaded()) return 0;
    const std::int64_t h = bitmap_.info.height;
    return static_cast<int>(h < 0 ? -h : h);
}

std::size_t CDib::Read(win::File& file) {
    Release();
    std::vector<std::uint8_t> bytes;
    if (!file.ReadAll(bytes, dib::kMaxFileSize)) {
        // Too large is a picture we refuse, not a read error.
        readFailed_ = GetLastError() != ERROR_FILE_TOO_LARGE;
        return 0;
    }
    if (!dib::Decode(bytes.data(), bytes.size(), bitmap_) || !MakePalette()) {
        Release();
        return 0;
    }
    return bytes.size();
}

bool CDib::MakePalette() {
    if (!loaded()) return false;
    const std::vector<dib::Rgb> table = dib::ColourTable(bitmap_);
    if (table.empty()) return true;
    // LOGPALETTE ends in a one-entry array; the others follow it.
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + (table.size() - 1) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(table.size() > 0xFFFF ? 0xFFFF : table.size());
    for (std::size_t i = 0; i < logical->palNumEntries; ++i)
        logical->palPalEntry[i] = {table[i].red, table[i].green, table[i].blue, 0};
    HPALETTE made = CreatePalette(logical);
    if (!made) return false;
    if (palette_) DeleteObject(palette_);
    palette_ = made;
    return true;
}

bool CDib::Draw(HDC dc, const RECT& dest, const RECT& source) const {
    if (!loaded()) return false;
    HPALETTE previous = nullptr;
    if (palette_) {
        previous = SelectPalette(dc, palette_, TRUE);
        RealizePalette(dc);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bitmap_.header.data());
    const int w = source.right - source.left, h = source.bottom - source.top;
    // Bottom-up pictures count their rows from the bottom edge.
    const int sourceY = bitmap_.info.height > 0 ? Height() - source.bottom : source.top;
    int result;
    if (dest.right - dest.left == w && dest.bottom - dest.top == h) {
        result = SetDIBitsToDevice(dc, dest.left, dest.top, w, h, source.left, sourceY, 0, Height(),
                                   bitmap_.bits.data(), info, DIB_RGB_COLORS);
    } else {
        result = StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.left,
                               sourceY, w, h, bitmap_.bits.data(), info, DIB_RGB_COLORS, SRCCOPY);
    }
    if (previous) SelectPalette(dc, previous, TRUE);
    return result != 0 && result != static_cast<int>(GDI_ERROR);
}
