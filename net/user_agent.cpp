#include "net/user_agent.h"

#include <algorithm>

namespace net {

namespace {
constexpr std::size_t kSeparatorLength = 3;
}

std::optional<std::string> UserAgentEntry(std::string_view agents, int index) {
    std::size_t start = 0;
    for (int count = 0;; ++count) {
        const std::size_t sep = agents.find(kUserAgentSeparator, start);
        if (sep == std::string_view::npos) return std::nullopt;
        if (count == index) return std::string(agents.substr(start, sep - start));
        start = sep + kSeparatorLength;
    }
}

std::vector<std::string> UserAgentEntries(std::string_view agents) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = agents.find(kUserAgentSeparator, start);
        if (sep == std::string_view::npos) return entries;
        entries.emplace_back(agents.substr(start, sep - start));
        start = sep + kSeparatorLength;
    }
}

std::string JoinUserAgents(const std::vector<std::string>& entries) {
    std::string agents;
    for (const auto& entry : entries) agents.append(entry).append(kUserAgentSeparator);
    return agents;
}

int UserAgentSelection(int stored, std::size_t entryCount) {
    return stored < 0 || static_cast<std::size_t>(stored) >= entryCount ? 0 : stored;
}

std::vector<std::string> UserAgentListToShow(std::string_view storedAgents) {
    auto entries = UserAgentEntries(storedAgents);
    if (entries.empty()) entries.emplace_back(kDefaultUserAgent);
    return entries;
}

bool IsStorableUserAgent(std::string_view text) {
    return text.find(kUserAgentSeparator) == std::string_view::npos && text.find_first_of("\r\n") == text.npos &&
           (text.empty() || text.back() != '|');
}

UserAgentUpdate PutUserAgentFirst(std::vector<std::string> entries, const std::string& chosen) {
    UserAgentUpdate update;
    const std::size_t n = entries.size();
    if (n == 0) return update;
    const auto same = std::find(entries.rbegin(), entries.rend(), chosen);
    if (same != entries.rend()) entries.erase(std::next(same).base());
    entries.insert(entries.begin(), chosen);
    entries.resize(n);
    update.store = true;
    update.count = static_cast<int>(n);
    update.agents = JoinUserAgents(entries);
    update.entries = std::move(entries);
    return update;
}

}  // namespace net
