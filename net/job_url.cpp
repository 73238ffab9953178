#include "net/job_url.h"

#include <algorithm>

#include "common/paths.h"

namespace net {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool HasControlBytes(std::string_view url) {
    for (char c : url)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

std::string NormaliseJobUrl(std::string_view url) {
    std::string r(url);
    if (std::count(r.begin(), r.end(), '/') < 3) r.push_back('/');
    return r;
}

bool SplitJobUrl(std::string_view url, UrlParts& parts) {
    parts = UrlParts{};
    if (HasControlBytes(url)) return false;
    url = TrimBlanks(url);
    const std::size_t colon = url.find("://");
    if (colon == std::string_view::npos || colon == 0) return false;
    const std::string_view scheme = url.substr(0, colon);
    if (paths::EqualsNoCase(scheme, "http")) {
        parts.serviceType = kSchemeHttp;
        parts.port = 80;
    } else if (paths::EqualsNoCase(scheme, "https")) {
        parts.serviceType = kSchemeHttps;
        parts.port = 443;
    } else if (paths::EqualsNoCase(scheme, "ftp")) {
        parts.serviceType = kSchemeFtp;
        parts.port = 21;
    } else {
        return false;
    }
    std::string_view rest = url.substr(colon + 3);
    const std::size_t authEnd = std::min(rest.find_first_of("/?#"), rest.size());
    std::string_view authority = rest.substr(0, authEnd);
    std::string_view path = rest.substr(authEnd);
    if (const std::size_t hash = path.find('#'); hash != std::string_view::npos) path = path.substr(0, hash);
    parts.objectPath = (path.empty() || path.front() != '/') ? "/" + std::string(path) : std::string(path);

    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view info = authority.substr(0, at);
        const std::size_t sep = info.find(':');
        parts.user = std::string(info.substr(0, sep));
        if (sep != std::string_view::npos) parts.password = std::string(info.substr(sep + 1));
        authority = authority.substr(at + 1);
    }
    std::string_view host = authority;
    if (const std::size_t pc = authority.rfind(':'); pc != std::string_view::npos) {
        host = authority.substr(0, pc);
        const std::string_view digits = authority.substr(pc + 1);
        if (!digits.empty()) {
            std::uint32_t port = 0;
            for (char c : digits) {
                if (c < '0' || c > '9') return false;
                port = port * 10 + static_cast<std::uint32_t>(c - '0');
                if (port > 65535) return false;
            }
            if (port == 0) return false;
            parts.port = static_cast<std::uint16_t>(port);
        }
    }
    parts.host = std::string(host);
    return !host.empty() && host.find(' ') == std::string_view::npos;
}

bool IsValidJobUrl(std::string_view url) {
    UrlParts parts;
    return SplitJobUrl(NormaliseJobUrl(url), parts);
}

}  // namespace net
