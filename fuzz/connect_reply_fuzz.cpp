// Reads arbitrary bytes as an HTTP proxy's reply to CONNECT.
#include <cstddef>
#include <cstdint>

#include "net/proxy_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    net::ConnectReplyReader r;
    for (std::size_t i = 0; i < size; ++i)
        if (r.Add(static_cast<char>(data[i])) != net::ConnectStep::More) break;
    return 0;
}
