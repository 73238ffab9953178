// Decodes arbitrary bytes as a hand-off record; whatever decodes must
// survive a second encode/decode unchanged, in a buffer of the size the
// sender reserves for it.
#include "common/handoff_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    handoff::HandoffRecord rec;
    if (!handoff::DecodeHandoff(data, size, rec)) return 0;
    const arc::Bytes again = handoff::EncodeHandoff(rec);
    std::vector<std::size_t> lengths;
    for (const auto& s : rec.strings) lengths.push_back(s.size());
    if (again.size() != handoff::HandoffSize(lengths)) std::abort();
    handoff::HandoffRecord back;
    if (!handoff::DecodeHandoff(again.data(), again.size(), back) || back.window != rec.window ||
        back.strings != rec.strings)
        std::abort();
    return 0;
}
