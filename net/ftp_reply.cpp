#include "net/ftp_reply.h"

#include "net/http_head.h"

namespace net {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a number of at most three digits up to `stop`; the text after it
// starts at `next`.
bool ReadByteBefore(std::string_view text, char stop, std::size_t& pos, std::uint32_t& value) {
    const std::size_t end = text.find(stop, pos);
    if (end == std::string_view::npos) return false;
    std::string_view part = text.substr(pos, end - pos);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (part.empty() || part.size() > 3) return false;
    value = 0;
    for (char c : part) {
        if (!IsDigit(c)) return false;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > 255) return false;
    pos = end + 1;
    return true;
}

}  // namespace

FtpReplyState FtpReplyBuffer::Take(std::string& reply) {
    const std::string& p = pending_;
    for (std::size_t i = 0; i < 3 && i < p.size(); ++i)
        if (!IsDigit(p[i])) return FtpReplyState::Bad;
    if (p.size() >= 4 && p[3] != ' ' && p[3] != '-' && p[3] != '\r') return FtpReplyState::Bad;
    std::size_t end = std::string::npos;
    if (p.size() >= 4) {
        if (p[3] != '-') {
            const std::size_t crlf = p.find("\r\n");
            if (crlf != std::string::npos) end = crlf + 2;
        } else {
            const std::string closing = "\r\n" + p.substr(0, 3) + " ";
            const std::size_t last = p.find(closing);
            if (last != std::string::npos) {
                const std::size_t crlf = p.find("\r\n", last + closing.size());
                if (crlf != std::string::npos) end = crlf + 2;
            }
        }
    }
    if (end == std::string::npos)
        return p.size() > kMaxFtpReply ? FtpReplyState::Bad : FtpReplyState::Incomplete;
    if (end > kMaxFtpReply) return FtpReplyState::Bad;
    reply = pending_.substr(0, end);
    pending_.erase(0, end);
    return FtpReplyState::Complete;
}

bool FtpReplyHasCode(std::string_view reply, std::string_view code) {
    return reply.size() >= 4 && code.size() == 3 && reply.substr(0, 3) == code;
}

bool ParsePasvReply(std::string_view reply, std::uint32_t& address, std::uint16_t& port) {
    const std::size_t open = reply.find('(');
    if (open == std::string_view::npos) return false;
    std::size_t pos = open + 1;
    std::uint32_t parts[6];
    for (int i = 0; i < 5; ++i)
        if (!ReadByteBefore(reply, ',', pos, parts[i])) return false;
    if (!ReadByteBefore(reply, ')', pos, parts[5])) return false;
    address = (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3];
    port = static_cast<std::uint16_t>(parts[4] * 256 + parts[5]);
    return true;
}

bool ParseSizeReply(std::string_view reply, std::uint32_t& size) {
    if (reply.size() < 5) return false;
    return ParseU32(reply.substr(4), size);
}

std::string WithoutLineBreaks(std::string_view text) {
    std::string r;
    r.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        r.push_back(text[i]);
    }
    return r;
}

}  // namespace net
