#include "common/handoff_record.h"

namespace handoff {

arc::Bytes EncodeHandoff(const HandoffRecord& record) {
    arc::ArchiveWriter w;
    w.U32(record.window);
    w.TextList(record.strings);
    return w.Take();
}

bool DecodeHandoff(const void* data, std::size_t size, HandoffRecord& record) {
    arc::ArchiveReader r(data, size);
    HandoffRecord out;
    if (!r.U32(out.window) || !r.TextList(out.strings) || r.remaining() != 0) return false;
    record = std::move(out);
    return true;
}

}  // namespace handoff
