// Reads arbitrary bytes as an index file; whatever decodes must hold only
// names that stay in the catalog, and encode and decode again to the same
// records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "vault/document_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vault::DocumentRecords recs;
    const auto res = vault::DecodeIndex(data, size, recs);
    if (!res.ok) return 0;
    for (const auto& r : recs)
        if (vault::FindUnstorableName(r)) std::abort();
    const arc::Bytes again = vault::EncodeIndex(recs);
    vault::DocumentRecords back;
    if (!vault::DecodeIndex(again.data(), again.size(), back).ok || back.size() != recs.size()) std::abort();
    for (std::size_t i = 0; i < recs.size(); ++i)
        if (back[i].name != recs[i].name || back[i].companions != recs[i].companions ||
            back[i].size != recs[i].size)
            std::abort();
    return 0;
}
