// A device-independent bitmap read from a bitmap file and drawn with its
// own palette: what the splash window shows.
#pragma once
#include <windows.h>

#include <cstddef>

#include "common/win/handle.h"
#include "shell/dib_format.h"

class CDib {
public:
    CDib() = default;
    ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Reads the whole file from its start; the number of bytes taken, 0
    // when it is no bitmap this class can draw or could not be read
    // (readFailed() then tells the two apart).
    std::size_t Read(win::File& file);
    // Draws `source` (counted from the top of the picture) into `dest`:
    // row by row when both are the same size, stretched otherwise.
    bool Draw(HDC dc, const RECT& dest, const RECT& source) const;

    bool loaded() const { return !bitmap_.header.empty(); }
    int Width() const { return loaded() ? bitmap_.info.width : 0; }
    // Rows of the picture, whichever way they are stored.
    int Height() const;
    unsigned NumColors() const { return loaded() ? dib::NumberOfColours(bitmap_.info) : 0; }
    HPALETTE palette() const { return palette_; }
    bool readFailed() const { return readFailed_; }

private:
    void Release();
    bool MakePalette();

    dib::Bitmap bitmap_;
    HPALETTE palette_ = nullptr;
    bool readFailed_ = false;
};
