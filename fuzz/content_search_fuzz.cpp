// Searches arbitrary bytes for an arbitrary find text, fed in arbitrary
// pieces, and checks the result against a search over the whole text: the
// same answer without whole word; with it, a hit only where some occurrence
// stands between blanks, and always when the first one does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vault/find_rules.h"

namespace {

bool Blank(const std::string& s, std::size_t i) { return s[i] == ' '; }

bool WholeAt(const std::string& s, std::size_t p, std::size_t m) {
    return (p == 0 || Blank(s, p - 1)) && (p + m == s.size() || Blank(s, p + m));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const bool matchCase = data[0] & 1, wholeWord = data[0] & 2;
    const std::size_t step = 1 + data[1] % 7;  // piece length
    const std::size_t m = 1 + data[2] % 8;
    if (size < 3 + m) return 0;
    const std::string find(reinterpret_cast<const char*>(data + 3), m);
    const std::string text(reinterpret_cast<const char*>(data + 3 + m), size - 3 - m);

    const vault::TextMatcher matcher(find, matchCase, wholeWord);
    const auto& fold = vault::AsciiCaseFold();
    const std::string f = matchCase ? find : vault::Folded(find, fold);
    const std::string t = matchCase ? text : vault::Folded(text, fold);
    const std::size_t first = t.find(f);
    if (matcher.FindFirst(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) !=
        (first == std::string::npos ? vault::TextMatcher::npos : first))
        std::abort();

    vault::ContentSearch search(matcher);
    bool hit = false;
    for (std::size_t at = 0; !hit; at += step) {
        const std::size_t n = at >= text.size() ? 0 : std::min(step, text.size() - at);
        const bool last = at + n >= text.size();
        hit = search.Feed(reinterpret_cast<const std::uint8_t*>(text.data()) + at, n, last);
        if (last) break;
    }
    if (!wholeWord) {
        if (hit != (first != std::string::npos)) std::abort();
        return 0;
    }
    bool anyWhole = false;
    for (std::size_t p = t.find(f); p != std::string::npos && !anyWhole; p = t.find(f, p + 1))
        anyWhole = WholeAt(t, p, m);
    if (hit && !anyWhole) std::abort();
    if (first != std::string::npos && WholeAt(t, first, m) && !hit) std::abort();
    return 0;
}
