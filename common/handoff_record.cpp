#include "common/handoff_record.h"

#include <cstring>

namespace handoff {

std::size_t HandoffSize(const std::vector<std::size_t>& textLengths) {
    std::size_t size = 4 + arc::ArchiveWriter::CountSize(static_cast<std::uint32_t>(textLengths.size()));
    for (const std::size_t n : textLengths) size += arc::ArchiveWriter::TextSize(n);
    return size;
}

arc::Bytes EncodeHandoff(std::uint32_t window, const std::vector<TextSource>& texts) {
    std::vector<std::size_t> lengths;
    lengths.reserve(texts.size());
    for (const auto& t : texts) lengths.push_back(t.size);
    arc::ArchiveWriter w;
    w.Reserve(HandoffSize(lengths));
    w.U32(window);
    w.Count(static_cast<std::uint32_t>(texts.size()));
    for (const auto& t : texts) {
        char* out = w.TextSpace(t.size);
        if (t.size) t.fill(out);
    }
    return w.Take();
}

arc::Bytes EncodeHandoff(const HandoffRecord& record) {
    std::vector<TextSource> texts;
    texts.reserve(record.strings.size());
    for (const auto& s : record.strings)
        texts.push_back({s.size(), [&s](char* out) { std::memcpy(out, s.data(), s.size()); }});
    return EncodeHandoff(record.window, texts);
}

bool DecodeHandoff(const void* data, std::size_t size, HandoffRecord& record) {
    arc::ArchiveReader r(data, size);
    HandoffRecord out;
    if (!r.U32(out.window) || !r.TextList(out.strings) || r.remaining() != 0) return false;
    record = std::move(out);
    return true;
}

}  // namespace handoff
