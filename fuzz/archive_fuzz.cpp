// Reads arbitrary bytes as a sequence of every archive field kind.
#include "common/archive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    arc::ArchiveReader r(data + 1, size - 1);
    std::uint8_t plan = data[0];
    while (r.ok() && r.remaining() > 0) {
        std::string s;
        std::vector<std::string> l;
        std::uint32_t u;
        double d;
        switch (plan++ % 4) {
            case 0: r.Text(s); break;
            case 1: r.TextList(l); break;
            case 2: r.Count(u); break;
            default: r.F64(d); break;
        }
    }
    return 0;
}
