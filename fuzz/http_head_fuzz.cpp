// Reads arbitrary bytes as a reply head and runs every decision the worker
// makes on it.
#include <cstddef>
#include <cstdint>

#include "net/file_naming.h"
#include "net/http_head.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    net::HttpHeadReader r;
    net::HeadStep step = net::HeadStep::More;
    for (std::size_t i = 0; i < size && step == net::HeadStep::More; ++i) step = r.Add(static_cast<char>(data[i]));
    if (step != net::HeadStep::Done || !r.Finish()) return 0;
    const net::HttpReplyHead& h = r.head();
    if (const std::string* range = net::FindHeaderLine(h, "Content-Range: ")) {
        net::ContentRangeTotal(*range);
        net::ContentRangeStart(*range);
    }
    net::RedirectTarget(h.rawHead);
    const std::string* location = net::FindHeaderLine(h, "Content-Location: ");
    const std::string name = net::NameFromObjectPath("host", h.lines[0], location);
    if (name.find_first_of("\\/:") != std::string::npos) __builtin_trap();
    if (const std::string* type = net::FindHeaderLine(h, "Content-Type: "))
        net::NameFromTemporary("C:\\t\\rel1.tmp", *type);
    return 0;
}
