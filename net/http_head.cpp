#include "net/http_head.h"

namespace net {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    return true;
}

}  // namespace

std::string BuildHttpRequest(std::string_view objectPath, std::string_view host, std::string_view userAgent,
                             std::uint32_t rangeStart) {
    std::string r;
    r.reserve(160 + objectPath.size() + host.size() + userAgent.size());
    r.append("GET ").append(objectPath).append(" HTTP/1.0\r\n");
    r.append("Host: ").append(host).append("\r\n");
    r.append("Accept: */*\r\n");
    r.append("User-Agent: ").append(userAgent).append("\r\n");
    r.append("Pragma: no-cache\r\n");
    r.append("Connection: Close\r\n");
    r.append("Range: bytes=").append(std::to_string(rangeStart)).append("-\r\n");
    r.append("\r\n");
    return r;
}

bool AgreesWithHttpPrefix(std::string_view text) {
    constexpr std::string_view kPrefix = "HTTP/";
    const std::size_t n = text.size() < kPrefix.size() ? text.size() : kPrefix.size();
    return text.substr(0, n) == kPrefix.substr(0, n);
}

HeadStep HttpHeadReader::Add(char c) {
    head_.rawHead.push_back(c);
    line_.push_back(c);
    if (head_.rawHead.size() > kMaxReplyHead) return HeadStep::Rejected;
    if (!AgreesWithHttpPrefix(head_.rawHead)) return HeadStep::Rejected;
    if (c == '\n' && line_.size() >= 2 && line_[line_.size() - 2] == '\r') {
        head_.lines.push_back(std::move(line_));
        line_.clear();
    }
    const std::string& raw = head_.rawHead;
    if (raw.size() >= 4 && raw.compare(raw.size() - 4, 4, "\r\n\r\n") == 0) return HeadStep::Done;
    return HeadStep::More;
}

bool ParseU32(std::string_view text, std::uint32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::uint64_t v = 0;
    const std::size_t first = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (v > 0xFFFFFFFFull) return false;
    }
    if (i == first) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

bool HttpHeadReader::Finish() {
    if (head_.lines.empty()) return false;
    const std::string& status = head_.lines[0];
    const std::size_t first = status.find(' ');
    if (first == std::string::npos) return false;
    const std::size_t second = status.find(' ', first + 1);
    if (second == std::string::npos) return false;
    std::uint32_t code = 0;
    const std::string_view codeText = std::string_view(status).substr(first + 1, second - first - 1);
    if (!ParseU32(codeText, code) || code > 999) return false;
    head_.statusCode = static_cast<std::int32_t>(code);
    if (const std::string* line = FindHeaderLine(head_, "Content-Length: ")) {
        std::uint32_t length = 0;
        if (!ParseU32(std::string_view(*line).substr(16), length)) return false;
        head_.contentLength = length;
        head_.hasContentLength = true;
    }
    return true;
}

const std::string* FindHeaderLine(const HttpReplyHead& head, std::string_view name) {
    for (std::size_t i = 1; i < head.lines.size(); ++i)
        if (StartsWithNoCase(head.lines[i], name)) return &head.lines[i];
    return nullptr;
}

std::optional<std::uint32_t> ContentRangeTotal(std::string_view line) {
    const std::size_t slash = line.rfind('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::uint32_t total = 0;
    if (!ParseU32(line.substr(slash + 1), total)) return std::nullopt;
    return total;
}

std::optional<std::uint32_t> ContentRangeStart(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view rest = line.substr(colon + 1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    constexpr std::string_view kUnit = "bytes";
    if (!StartsWithNoCase(rest, kUnit)) return std::nullopt;
    rest.remove_prefix(kUnit.size());
    std::size_t first = 0;
    while (first < rest.size() && (rest[first] == ' ' || rest[first] == '\t')) ++first;
    if (first == 0) return std::nullopt;  // "bytes" must be followed by a blank
    std::size_t end = first;
    while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
    // The digits are followed at once by the "-" of the range.
    if (end == first || end == rest.size() || rest[end] != '-') return std::nullopt;
    std::uint32_t start = 0;
    if (!ParseU32(rest.substr(first, end - first), start)) return std::nullopt;
    return start;
}

std::optional<std::string> RedirectTarget(std::string_view rawHead) {
    const std::size_t at = rawHead.find("Location");
    if (at == std::string_view::npos || at + 9 > rawHead.size()) return std::nullopt;
    std::string_view rest = rawHead.substr(at + 9);
    rest = rest.substr(0, rest.find_first_of("\r\n"));
    // Blanks and tabs around a header value are not part of it.
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
    return std::string(rest);
}

}  // namespace net
