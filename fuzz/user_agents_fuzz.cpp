// A stored "Agents" text and a typed User-Agent, as anything may stand in
// the registry: splits, picks and re-joins, checking that the list keeps
// its length and round-trips.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/integer_field.h"
#include "net/user_agent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int index = static_cast<int>(data[0]) - 8;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = text.find('\n');
    const std::string agents = text.substr(0, cut);
    const std::string typed = cut == std::string::npos ? std::string() : text.substr(cut + 1);

    const auto entries = net::UserAgentEntries(agents);
    const auto one = net::UserAgentEntry(agents, index);
    if (index >= 0 && static_cast<std::size_t>(index) < entries.size()) {
        if (!one || *one != entries[static_cast<std::size_t>(index)]) std::abort();
    } else if (one) {
        std::abort();
    }
    const auto shown = net::UserAgentListToShow(agents);
    if (shown.empty() || static_cast<std::size_t>(net::UserAgentSelection(index, shown.size())) >= shown.size())
        std::abort();
    if (net::IsStorableUserAgent(typed)) {
        const auto update = net::PutUserAgentFirst(shown, typed);
        if (update.entries.size() != shown.size() || update.entries.front() != typed) std::abort();
        if (net::UserAgentEntries(update.agents) != update.entries) std::abort();
    }
    int value = 0;
    fields::ParseInteger(typed, 0, 65535, value);
    if (value < 0 || value > 65535) std::abort();
    return 0;
}
