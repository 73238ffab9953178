// Splits the first line of the input as a page URL and resolves every
// further line as a link on it: prefixes grow from the root, and a
// resolved link is never built above the root.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "jobs/web_picker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t eol = text.find('\n');
    const std::string_view page = text.substr(0, eol);
    std::vector<std::string> prefixes;
    if (!jobs::SplitUrlPrefixes(page, prefixes)) return 0;
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
        if (prefixes[i].size() > page.size() || page.substr(0, prefixes[i].size()) != prefixes[i]) std::abort();
        if (i && prefixes[i].size() <= prefixes[i - 1].size()) std::abort();
    }
    for (std::size_t pos = eol; pos != std::string_view::npos;) {
        const std::size_t next = text.find('\n', pos + 1);
        const std::string_view link = text.substr(pos + 1, next == std::string_view::npos ? next : next - pos - 1);
        pos = next;
        std::string url;
        if (!jobs::ResolveLink(prefixes, link, url)) continue;
        if (url.empty()) std::abort();
        if (link.find("://") == std::string_view::npos && link.substr(0, 2) != "//" &&
            url.compare(0, prefixes[0].size(), prefixes[0]) != 0)
            std::abort();
    }
    return 0;
}
