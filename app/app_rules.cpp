#include "app/app_rules.h"

#include <string>

namespace app {

bool HasAutomationFlag(std::string_view s) {
    for (std::string_view flag : {std::string_view("Embedding"), std::string_view("Automation")}) {
        for (std::size_t at = s.find(flag); at != std::string_view::npos; at = s.find(flag, at + 1)) {
            const bool flagged = at > 0 && (s[at - 1] == '/' || s[at - 1] == '-');
            const std::size_t end = at + flag.size();
            const bool whole = end == s.size() || s[end] == ' ' || s[end] == '\t';
            const bool starts = at < 2 || s[at - 2] == ' ' || s[at - 2] == '\t' || s[at - 2] == '"';
            if (flagged && whole && starts) return true;
        }
    }
    return false;
}

}  // namespace app
