// Splitting of download URLs into the parts a worker needs. Only absolute
// ftp://, http:// and https:// URLs are understood; everything else is left
// to the worker, which ends such a job at once.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace net {

constexpr std::uint32_t kSchemeFtp = 1;
constexpr std::uint32_t kSchemeHttp = 3;
// The value the platform's URL cracker gives https. It is stored in the job
// file like the others; a reader that knows only 1 and 3 ends such a job at
// once without fetching, and every start splits the URL again anyway.
constexpr std::uint32_t kSchemeHttps = 4;

struct UrlParts {
    std::uint32_t serviceType = 0;  // kSchemeFtp, kSchemeHttp, kSchemeHttps or 0
    std::string host;
    std::string objectPath;  // begins with "/", query included, fragment dropped
    std::uint16_t port = 0;
    std::string user;
    std::string password;
};

// True when the text holds a byte below 0x20 or 0x7F (CR, LF, NUL, tab,
// ...). Such a URL is never started: its path and host go into request and
// command lines, where a line break would let the text add lines of its own.
bool HasControlBytes(std::string_view url);

// Appends "/" when the text holds fewer than three slashes, so that a URL of
// scheme and host alone asks for the root.
std::string NormaliseJobUrl(std::string_view url);

// Splits an absolute URL; blanks around it are ignored. Returns false for
// relative or empty text, text with control bytes (the parts then stay
// empty), an unknown scheme, an empty host or a port outside 1..65535; the
// parts then hold what could be read (serviceType stays 0 for an unknown
// scheme).
bool SplitJobUrl(std::string_view url, UrlParts& parts);

// The test a job's URL must pass before it is started.
bool IsValidJobUrl(std::string_view url);

}  // namespace net
