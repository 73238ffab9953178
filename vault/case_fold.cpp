#include "vault/case_fold.h"

namespace vault {

const CaseFold& AsciiCaseFold() {
    static const CaseFold table = [] {
        CaseFold t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<std::uint8_t>(b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
        return t;
    }();
    return table;
}

std::string Folded(std::string_view text, const CaseFold& fold) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(fold[static_cast<std::uint8_t>(c)]);
    return out;
}

}  // namespace vault
