// Splits arbitrary text as a job URL, as a page handed over by the browser
// may give it, and checks that what a worker would send stays within its
// own lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/http_head.h"
#include "net/job_url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::string url(reinterpret_cast<const char*>(data), size);
    net::UrlParts parts;
    if (!net::SplitJobUrl(net::NormaliseJobUrl(url), parts)) return 0;
    if (!net::IsValidJobUrl(url) || net::HasControlBytes(parts.host) || net::HasControlBytes(parts.objectPath))
        __builtin_trap();
    if (parts.host.empty() || parts.objectPath.empty() || parts.objectPath.front() != '/') __builtin_trap();
    // The request has its eight lines and not one more.
    const std::string request = net::BuildHttpRequest(parts.objectPath, parts.host, "A/1", 0);
    if (std::count(request.begin(), request.end(), '\n') != 8 || std::count(request.begin(), request.end(), '\r') != 8)
        __builtin_trap();
    return 0;
}
