// FTP control-connection replies. Bytes arrive in whatever pieces TCP
// gives; the buffer hands out one whole reply at a time and keeps what
// follows it for the next one.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace net {

constexpr std::size_t kMaxFtpReply = 64 * 1024;

enum class FtpReplyState { Incomplete, Complete, Bad };

class FtpReplyBuffer {
public:
    void Append(const char* data, std::size_t size) { pending_.append(data, size); }
    // A reply is complete when its last line has arrived: the first line for
    // "ddd " replies, the line starting "ddd " after a "ddd-" first line.
    // Bad for text that does not start with three digits and a blank or "-",
    // and for a reply longer than kMaxFtpReply.
    FtpReplyState Take(std::string& reply);
    std::size_t pending() const { return pending_.size(); }

private:
    std::string pending_;
};

// True when the reply starts with the three-digit code.
bool FtpReplyHasCode(std::string_view reply, std::string_view code);

// Data address of a "227 ... (h1,h2,h3,h4,p1,p2)" reply, in host byte order.
bool ParsePasvReply(std::string_view reply, std::uint32_t& address, std::uint16_t& port);

// The size of a "213 n" reply.
bool ParseSizeReply(std::string_view reply, std::uint32_t& size);

// Removes every CR LF pair, as status texts are shown on one line.
std::string WithoutLineBreaks(std::string_view text);

}  // namespace net
