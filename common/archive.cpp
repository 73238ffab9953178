#include "common/archive.h"

#include <cstring>

namespace arc {

namespace {

std::string Latin1OrQuestion(const char16_t* text, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i)
        out.push_back(text[i] < 0x100 ? static_cast<char>(text[i]) : '?');
    return out;
}

WideToNarrowFn g_wideToNarrow = &Latin1OrQuestion;

}  // namespace

void SetWideToNarrow(WideToNarrowFn fn) { g_wideToNarrow = fn ? fn : &Latin1OrQuestion; }
std::string WideToNarrow(const char16_t* text, std::size_t length) { return g_wideToNarrow(text, length); }

void ArchiveWriter::U8(std::uint8_t v) { buf_.push_back(v); }

void ArchiveWriter::U16(std::uint16_t v) {
    buf_.push_back(static_cast<std::uint8_t>(v));
    buf_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ArchiveWriter::U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ArchiveWriter::F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) buf_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void ArchiveWriter::TextPrefix(std::size_t len) {
    if (len <= 254) {
        U8(static_cast<std::uint8_t>(len));
    } else if (len <= 0xFFFD) {
        U8(0xFF);
        U16(static_cast<std::uint16_t>(len));
    } else {
        U8(0xFF);
        U16(0xFFFF);
        U32(static_cast<std::uint32_t>(len));
    }
}

void ArchiveWriter::Text(std::string_view s) {
    TextPrefix(s.size());
    Raw(s.data(), s.size());
}

char* ArchiveWriter::TextSpace(std::size_t len) {
    TextPrefix(len);
    const std::size_t at = buf_.size();
    buf_.resize(at + len);
    return reinterpret_cast<char*>(buf_.data() + at);
}

std::size_t ArchiveWriter::TextSize(std::size_t len) { return len + (len <= 254 ? 1 : len <= 0xFFFD ? 3 : 7); }

void ArchiveWriter::Count(std::uint32_t n) {
    if (n < 0xFFFF) {
        U16(static_cast<std::uint16_t>(n));
    } else {
        U16(0xFFFF);
        U32(n);
    }
}

void ArchiveWriter::TextList(const std::vector<std::string>& list) {
    Count(static_cast<std::uint32_t>(list.size()));
    for (const auto& s : list) Text(s);
}

void ArchiveWriter::Raw(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    buf_.insert(buf_.end(), p, p + size);
}

ArchiveReader::ArchiveReader(const void* data, std::size_t size)
    : data_(static_cast<const std::uint8_t*>(data)), size_(data ? size : 0) {}

bool ArchiveReader::Take(void* out, std::size_t n) {
    if (!ok_ || n > remaining()) return Fail();
    if (n) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
}

bool ArchiveReader::U8(std::uint8_t& v) { return Take(&v, 1); }

bool ArchiveReader::U16(std::uint16_t& v) {
    std::uint8_t b[2];
    if (!Take(b, 2)) return false;
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ArchiveReader::U32(std::uint32_t& v) {
    std::uint8_t b[4];
    if (!Take(b, 4)) return false;
    v = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
        (std::uint32_t(b[3]) << 24);
    return true;
}

bool ArchiveReader::I32(std::int32_t& v) {
    std::uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

bool ArchiveReader::F64(double& v) {
    std::uint8_t b[8];
    if (!Take(b, 8)) return false;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
    std::memcpy(&v, &bits, sizeof v);
    return true;
}

bool ArchiveReader::TextLength(std::uint32_t& len, bool& wide, bool allowWide) {
    std::uint8_t b;
    if (!U8(b)) return false;
    if (b < 0xFF) {
        len = b;
        return true;
    }
    std::uint16_t w;
    if (!U16(w)) return false;
    if (w == 0xFFFE) {
        // Wide marker: a second prefix follows; it may not be wide again.
        if (!allowWide) return Fail();
        wide = true;
        return TextLength(len, wide, false);
    }
    if (w < 0xFFFE) {
        len = w;
        return true;
    }
    return U32(len);
}

bool ArchiveReader::Text(std::string& s) {
    std::uint32_t len = 0;
    bool wide = false;
    if (!TextLength(len, wide, true)) return false;
    if (!wide) {
        if (len > remaining()) return Fail();
        s.assign(reinterpret_cast<const char*>(data_ + pos_), len);
        pos_ += len;
        return true;
    }
    if (len > remaining() / 2) return Fail();
    std::u16string w(len, u'\0');
    for (std::uint32_t i = 0; i < len; ++i)
        w[i] = static_cast<char16_t>(data_[pos_ + 2 * i] | (data_[pos_ + 2 * i + 1] << 8));
    pos_ += std::size_t(len) * 2;
    s = WideToNarrow(w.data(), w.size());
    return true;
}

bool ArchiveReader::Count(std::uint32_t& n) {
    std::uint16_t w;
    if (!U16(w)) return false;
    if (w != 0xFFFF) {
        n = w;
        return true;
    }
    return U32(n);
}

bool ArchiveReader::TextList(std::vector<std::string>& list) {
    std::uint32_t n;
    if (!Count(n)) return false;
    if (n > remaining()) return Fail();
    list.clear();
    list.reserve(n < 4096 ? n : 4096);  // each text may cost far more than its byte
    for (std::uint32_t i = 0; i < n; ++i) {
        std::string s;
        if (!Text(s)) return false;
        list.push_back(std::move(s));
    }
    return true;
}

}  // namespace arc
