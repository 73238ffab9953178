// The User-Agent list of the "Download" settings: entries each followed by
// "|||"; text after the last separator is never an entry.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace net {

inline constexpr const char* kDefaultUserAgent = "Archivon/1.10";

// The entry at `index`, or nothing when the list has no such entry.
std::optional<std::string> UserAgentEntry(std::string_view agents, int index);

}  // namespace net
