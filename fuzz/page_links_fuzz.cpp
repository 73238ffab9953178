// Scans arbitrary bytes as a page's HTML: the link list stays within its
// bounds and holds no empty, over-long or repeated link.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "jobs/web_picker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> links;
    const bool any = jobs::ExtractResourceLinks(html, links, 3, 16);
    if (any != !links.empty() || links.size() > 16) std::abort();
    std::set<std::string> seen;
    for (const auto& link : links) {
        if (link.empty() || link.size() > jobs::kMaxLinkLength || !seen.insert(link).second) std::abort();
    }
    return 0;
}
