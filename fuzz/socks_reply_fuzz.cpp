// Reads arbitrary bytes as the replies of a SOCKS 4 and a SOCKS 5 proxy.
#include <cstddef>
#include <cstdint>

#include "net/proxy_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= net::kSocks4ReplySize) net::Socks4Granted(data);
    if (size < net::kSocks5MethodReplySize) return 0;
    const int method = net::Socks5ChosenMethod(data, size & 1);
    std::size_t pos = net::kSocks5MethodReplySize;
    if (method == 2) {
        if (size - pos < net::kSocks5AuthReplySize) return 0;
        net::Socks5CredentialsAccepted(data + pos);
        pos += net::kSocks5AuthReplySize;
    }
    if (method < 0 || size - pos < net::kSocks5ReplyHeadSize) return 0;
    const int rest = net::Socks5ReplyRemainder(data + pos);
    if (rest > 257) __builtin_trap();  // a length byte plus port is the most
    return 0;
}
