// The HTTP/1.0 request a download sends and the reading of the reply head.
// Heads arrive byte by byte from the socket; the reader decides after each
// byte whether to go on, stop or reject.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// Longest head accepted; a server that sends more is not speaking HTTP.
constexpr std::size_t kMaxReplyHead = 64 * 1024;

std::string BuildHttpRequest(std::string_view objectPath, std::string_view host, std::string_view userAgent,
                             std::uint32_t rangeStart);

struct HttpReplyHead {
    std::int32_t statusCode = 0;
    std::uint32_t contentLength = 0;
    bool hasContentLength = false;
    std::vector<std::string> lines;  // each with its CR LF; [0] is the status line
    std::string rawHead;             // every byte, the closing blank line included
};

enum class HeadStep { More, Done, Rejected };

// Collects one head. After Done, Finish() splits the status line and reads
// Content-Length.
class HttpHeadReader {
public:
    HeadStep Add(char c);
    // False for a status line without two blanks, a status or length that is
    // not a number or does not fit 32 bits.
    bool Finish();
    HttpReplyHead& head() { return head_; }

private:
    HttpReplyHead head_;
    std::string line_;
};

// Reads a decimal number at the start of text after optional blanks; false
// when there is no digit or it does not fit 32 bits.
bool ParseU32(std::string_view text, std::uint32_t& value);

// The first line after the status line that starts with `name`, compared
// without regard to case; nullptr when there is none.
const std::string* FindHeaderLine(const HttpReplyHead& head, std::string_view name);

// Total size from a Content-Range line: the number after its last "/".
std::optional<std::uint32_t> ContentRangeTotal(std::string_view line);

// First byte of the range of a Content-Range line ("Content-Range: bytes
// 1000-4999/5000" gives 1000); nothing when the line names no such range.
std::optional<std::uint32_t> ContentRangeStart(std::string_view line);

// Target of a redirect: the text 9 characters after the first "Location"
// anywhere in the head, up to the first CR or LF, without the blanks and
// tabs around it.
std::optional<std::string> RedirectTarget(std::string_view rawHead);

// The status texts of the CONNECT reply and the head share this rule: the
// text read so far must agree with "HTTP/" over their common length.
bool AgreesWithHttpPrefix(std::string_view text);

}  // namespace net
