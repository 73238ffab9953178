// Feeds arbitrary bytes, in pieces, to the FTP reply buffer and parses each
// reply as PASV and SIZE.
#include <cstddef>
#include <cstdint>

#include "net/ftp_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = data[0] % 16 + 1;
    net::FtpReplyBuffer b;
    std::string reply;
    for (std::size_t i = 1; i < size; i += piece) {
        const std::size_t n = size - i < piece ? size - i : piece;
        b.Append(reinterpret_cast<const char*>(data + i), n);
        for (;;) {
            const net::FtpReplyState s = b.Take(reply);
            if (s == net::FtpReplyState::Bad) return 0;
            if (s == net::FtpReplyState::Incomplete) break;
            std::uint32_t addr, value;
            std::uint16_t port;
            net::ParsePasvReply(reply, addr, port);
            net::ParseSizeReply(reply, value);
            net::WithoutLineBreaks(reply);
        }
    }
    return 0;
}
