// The User-Agent list of the "Download" settings: entries each followed by
// "|||"; text after the last separator is never an entry.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

inline constexpr const char* kDefaultUserAgent = "Archivon/1.10";
inline constexpr const char* kUserAgentSeparator = "|||";

// The entry at `index`, or nothing when the list has no such entry.
std::optional<std::string> UserAgentEntry(std::string_view agents, int index);
// Every entry, in order.
std::vector<std::string> UserAgentEntries(std::string_view agents);
// Each entry followed by the separator.
std::string JoinUserAgents(const std::vector<std::string>& entries);
// The entry a stored selection picks; one beyond the list picks the first.
int UserAgentSelection(int stored, std::size_t entryCount);

// The list the settings page shows for a stored "Agents" text: its entries,
// or the default entry alone when the text holds none (missing, empty, or
// without any separator), so there is always something to replace.
std::vector<std::string> UserAgentListToShow(std::string_view storedAgents);

// A text that would split into other entries (holding "|||", or ending in
// "|", which runs into its separator) or break the request head (a line
// break) cannot be stored.
bool IsStorableUserAgent(std::string_view text);

// What applying the page stores: the list keeps its length n. The chosen
// text goes to the top; an equal entry further down (the last one) moves up,
// else the last entry drops out. With an empty list nothing is stored.
struct UserAgentUpdate {
    bool store = false;
    int count = 0;                     // "AgentsNum"
    std::string agents;                // "Agents"
    std::vector<std::string> entries;  // the list as stored
};
UserAgentUpdate PutUserAgentFirst(std::vector<std::string> entries, const std::string& chosen);

}  // namespace net
