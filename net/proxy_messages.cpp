#include "net/proxy_messages.h"

#include "net/http_head.h"

namespace net {

namespace {

void PutPort(ByteString& b, std::uint16_t port) {
    b.push_back(static_cast<std::uint8_t>(port >> 8));
    b.push_back(static_cast<std::uint8_t>(port));
}

void PutAddress(ByteString& b, std::uint32_t address) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(address >> shift));
}

}  // namespace

bool HostIsName(std::string_view host) {
    for (char c : host)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return false;
}

std::string EncodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string r;
    r.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v = (static_cast<std::uint8_t>(bytes[i]) << 16) |
                                (static_cast<std::uint8_t>(bytes[i + 1]) << 8) | static_cast<std::uint8_t>(bytes[i + 2]);
        r += kAlphabet[(v >> 18) & 63];
        r += kAlphabet[(v >> 12) & 63];
        r += kAlphabet[(v >> 6) & 63];
        r += kAlphabet[v & 63];
    }
    const std::size_t left = bytes.size() - i;
    if (left) {
        std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16;
        if (left == 2) v |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
        r += kAlphabet[(v >> 18) & 63];
        r += kAlphabet[(v >> 12) & 63];
        r += left == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        r += '=';
    }
    return r;
}

std::string DottedAddress(std::uint32_t a) {
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) +
           "." + std::to_string(a & 255);
}

ByteString Socks4Request(std::uint32_t address, std::uint16_t port, std::string_view name) {
    ByteString b{4, 1};
    PutPort(b, port);
    PutAddress(b, name.empty() ? address : 1u);
    b.push_back(0);
    if (!name.empty()) {
        b.insert(b.end(), name.begin(), name.end());
        b.push_back(0);
    }
    return b;
}

bool Socks4Granted(const std::uint8_t* reply) { return reply[0] == 0 && reply[1] == 90; }

ByteString Socks5Greeting(bool withCredentials) {
    return withCredentials ? ByteString{5, 2, 2, 0} : ByteString{5, 1, 0};
}

int Socks5ChosenMethod(const std::uint8_t* reply, bool withCredentials) {
    if (reply[0] != 5) return -1;
    if (reply[1] == 0) return 0;
    if (reply[1] == 2 && withCredentials) return 2;
    return -1;
}

bool Socks5CredentialRequest(std::string_view user, std::string_view password, ByteString& out) {
    if (user.size() > 255 || password.size() > 255) return false;
    out = {1, static_cast<std::uint8_t>(user.size())};
    out.insert(out.end(), user.begin(), user.end());
    out.push_back(static_cast<std::uint8_t>(password.size()));
    out.insert(out.end(), password.begin(), password.end());
    return true;
}

bool Socks5CredentialsAccepted(const std::uint8_t* reply) { return reply[1] == 0; }

bool Socks5ConnectRequest(std::uint32_t address, std::uint16_t port, std::string_view name, ByteString& out) {
    out = {5, 1, 0};
    if (name.empty()) {
        out.push_back(1);
        PutAddress(out, address);
    } else {
        if (name.size() > 255) return false;
        out.push_back(3);
        out.push_back(static_cast<std::uint8_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
    }
    PutPort(out, port);
    return true;
}

int Socks5ReplyRemainder(const std::uint8_t* head) {
    if (head[0] != 5 || head[1] != 0) return -1;
    switch (head[3]) {
        case 1: return 4 - 1 + 2;          // IPv4 address and port
        case 3: return head[4] + 2;        // name of head[4] bytes and port
        case 4: return 16 - 1 + 2;         // IPv6 address and port
        default: return -1;
    }
}

std::string ConnectRequest(std::string_view host, std::uint16_t port, bool withCredentials, std::string_view user,
                           std::string_view password) {
    const std::string target = std::string(host) + ":" + std::to_string(port);
    std::string r = "CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n";
    if (withCredentials) {
        const std::string credentials = EncodeBase64(std::string(user) + ":" + std::string(password));
        r += "Authorization: Basic " + credentials + "\r\n";
        r += "Proxy-Authorization: Basic " + credentials + "\r\n";
    }
    r += "\r\n";
    return r;
}

ConnectStep ConnectReplyReader::Add(char c) {
    text_.push_back(c);
    if (text_.size() > kMaxReplyHead || !AgreesWithHttpPrefix(text_)) return ConnectStep::Refused;
    const std::size_t crlf = text_.find("\r\n");
    if (crlf != std::string::npos) {
        const std::size_t blank = text_.find(' ');
        if (blank == std::string::npos || blank > crlf || text_[blank + 1] != '2') return ConnectStep::Refused;
    }
    if (text_.size() >= 4 && text_.compare(text_.size() - 4, 4, "\r\n\r\n") == 0) return ConnectStep::Granted;
    return ConnectStep::More;
}

}  // namespace net
