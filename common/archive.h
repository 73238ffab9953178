// Byte encoding shared by the index file, the job file and the hand-off
// record: little-endian fields one after another, texts with 1-, 3- or
// 7-byte length prefixes, list counts with a 0xFFFF escape.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace arc {

using Bytes = std::vector<std::uint8_t>;

class ArchiveWriter {
public:
    void U8(std::uint8_t v);
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F64(double v);
    void Time(std::uint32_t secondsSince1970) { U32(secondsSince1970); }
    void Text(std::string_view s);
    void Count(std::uint32_t n);
    void TextList(const std::vector<std::string>& list);
    void Raw(const void* data, std::size_t size);
    // Writes the length prefix of a text of `length` bytes and returns where
    // those bytes go, so a caller can produce the text in place (valid until
    // the next write).
    char* TextSpace(std::size_t length);
    // Room for `size` more bytes, so a writer that knows its output size
    // does not move the buffer while it grows.
    void Reserve(std::size_t size) { buf_.reserve(buf_.size() + size); }

    // Bytes that Text and Count write for these sizes.
    static std::size_t TextSize(std::size_t length);
    static std::size_t CountSize(std::uint32_t n) { return n < 0xFFFF ? 2 : 6; }

    const Bytes& bytes() const { return buf_; }
    Bytes Take() { return std::move(buf_); }

private:
    void TextPrefix(std::size_t length);

    Bytes buf_;
};

// Reads fields from a byte range. Every read checks the bytes that remain;
// after the first failure the reader stays failed and reads nothing more.
class ArchiveReader {
public:
    ArchiveReader(const void* data, std::size_t size);
    explicit ArchiveReader(const Bytes& b) : ArchiveReader(b.data(), b.size()) {}

    bool U8(std::uint8_t& v);
    bool U16(std::uint16_t& v);
    bool U32(std::uint32_t& v);
    bool I32(std::int32_t& v);
    bool F64(double& v);
    bool Time(std::uint32_t& v) { return U32(v); }
    bool Text(std::string& s);
    bool Count(std::uint32_t& n);
    // A list's count is checked against what remains (each text needs at
    // least one byte), so a hostile count cannot make it allocate.
    bool TextList(std::vector<std::string>& list);

    bool ok() const { return ok_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }

private:
    bool Take(void* out, std::size_t n);
    bool Fail() { ok_ = false; return false; }
    bool TextLength(std::uint32_t& len, bool& wide, bool allowWide);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Converts UTF-16LE text of the wide form into the 8-bit code page. The
// default keeps code units below 0x100 and turns the rest into '?'; the
// Windows build installs the system code page conversion.
using WideToNarrowFn = std::string (*)(const char16_t* text, std::size_t length);
void SetWideToNarrow(WideToNarrowFn fn);
std::string WideToNarrow(const char16_t* text, std::size_t length);

}  // namespace arc
