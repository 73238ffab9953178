#include "net/user_agent.h"

namespace net {

std::optional<std::string> UserAgentEntry(std::string_view agents, int index) {
    std::size_t start = 0;
    for (int count = 0;; ++count) {
        const std::size_t sep = agents.find("|||", start);
        if (sep == std::string_view::npos) return std::nullopt;
        if (count == index) return std::string(agents.substr(start, sep - start));
        start = sep + 3;
    }
}

}  // namespace net
