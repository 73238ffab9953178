#include "vault/find_rules.h"

namespace vault {

namespace {

const CaseFold& IdentityFold() {
    static const CaseFold table = [] {
        CaseFold t{};
        for (int b = 0; b < 256; ++b) t[b] = static_cast<std::uint8_t>(b);
        return t;
    }();
    return table;
}

constexpr std::uint32_t kTitle = 0x10, kDescription = 0x20, kFileName = 0x40, kContent = 0x80, kMatchCase = 0x04,
                        kWholeWord = 0x02;

bool IsBlank(int byte) { return byte == ' '; }

}  // namespace

std::uint32_t FindOptions::Mask() const {
    return (title ? kTitle : 0) | (description ? kDescription : 0) | (fileName ? kFileName : 0) |
           (content ? kContent : 0) | (matchCase ? kMatchCase : 0) | (wholeWord ? kWholeWord : 0);
}

FindOptions FindOptions::FromMask(std::uint32_t mask) {
    FindOptions o;
    o.title = (mask & kTitle) != 0;
    o.description = (mask & kDescription) != 0;
    o.fileName = (mask & kFileName) != 0;
    o.content = (mask & kContent) != 0;
    o.matchCase = (mask & kMatchCase) != 0;
    o.wholeWord = (mask & kWholeWord) != 0;
    return o;
}

std::vector<LookAt> FindOrder(const FindOptions& options) {
    std::vector<LookAt> order;
    if (options.title) order.push_back(LookAt::title);
    if (options.description) order.push_back(LookAt::description);
    if (options.fileName) order.push_back(LookAt::fileName);
    if (options.content) order.push_back(LookAt::content);
    order.push_back(LookAt::end);
    return order;
}

TextMatcher::TextMatcher(std::string_view find, bool matchCase, bool wholeWord, const CaseFold& fold)
    : fold_(matchCase ? IdentityFold().data() : fold.data()),
      pattern_(matchCase ? std::string(find) : Folded(find, fold)),
      wholeWord_(wholeWord) {
    // Horspool's shift for each byte as it stands in the text.
    const std::size_t m = pattern_.size();
    std::size_t byFolded[256];
    for (auto& s : byFolded) s = m ? m : 1;
    for (std::size_t i = 0; i + 1 < m; ++i) byFolded[static_cast<std::uint8_t>(pattern_[i])] = m - 1 - i;
    for (int b = 0; b < 256; ++b) skip_[b] = byFolded[fold_[b]];
}

std::size_t TextMatcher::FindFirst(const std::uint8_t* data, std::size_t size) const {
    const std::size_t m = pattern_.size();
    if (m == 0 || size < m) return npos;
    const auto* p = reinterpret_cast<const std::uint8_t*>(pattern_.data());
    const std::uint8_t lastByte = p[m - 1];
    const std::uint8_t* fold = fold_;
    for (std::size_t pos = 0; pos <= size - m;) {
        const std::uint8_t c = data[pos + m - 1];
        if (fold[c] == lastByte) {
            std::size_t j = m - 1;
            while (j > 0 && fold[data[pos + j - 1]] == p[j - 1]) --j;
            if (j == 0) return pos;
        }
        pos += skip_[c];
    }
    return npos;
}

bool TextMatcher::Matches(std::string_view text) const {
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t p = FindFirst(data, text.size());
    if (p == npos) return false;
    if (!wholeWord_) return true;
    const std::size_t end = p + pattern_.size();
    return (p == 0 || IsBlank(data[p - 1])) && (end == text.size() || IsBlank(data[end]));
}

void ContentSearch::Reset() {
    carry_.clear();
    beforeCarry_ = -1;
}

ContentSearch::Verdict ContentSearch::Judge(std::size_t at, const std::uint8_t* piece, std::size_t size,
                                            bool last) const {
    if (!m_.wholeWord()) return Verdict::hit;
    const std::size_t c = carry_.size(), total = c + size;
    auto byteAt = [&](std::size_t i) -> int {
        return i < c ? static_cast<std::uint8_t>(carry_[i]) : piece[i - c];
    };
    const int before = at > 0 ? byteAt(at - 1) : beforeCarry_;
    if (before != -1 && !IsBlank(before)) return Verdict::miss;
    const std::size_t end = at + m_.length();
    if (end == total) return last ? Verdict::hit : Verdict::undecided;
    return IsBlank(byteAt(end)) ? Verdict::hit : Verdict::miss;
}

bool ContentSearch::Feed(const std::uint8_t* piece, std::size_t size, bool last) {
    const std::size_t m = m_.length();
    if (m == 0) return false;
    const std::size_t c = carry_.size();
    // The first occurrence of the window (carry, then piece): one that
    // starts in the carry lies within the carry and the piece's first m-1
    // bytes; otherwise it lies in the piece alone.
    std::size_t at = TextMatcher::npos;
    if (c > 0) {
        std::string junction = carry_;
        junction.append(reinterpret_cast<const char*>(piece), size < m - 1 ? size : m - 1);
        const std::size_t j = m_.FindFirst(reinterpret_cast<const std::uint8_t*>(junction.data()), junction.size());
        if (j != TextMatcher::npos && j < c) at = j;
    }
    if (at == TextMatcher::npos) {
        const std::size_t q = m_.FindFirst(piece, size);
        if (q != TextMatcher::npos) at = c + q;
    }
    // Only the first occurrence counts. One that reaches the end of the
    // window before the end of the file is judged again with the next
    // piece, which begins with it.
    if (at != TextMatcher::npos && Judge(at, piece, size, last) == Verdict::hit) return true;

    const std::size_t total = c + size;
    const std::size_t keep = total < m ? total : m;
    std::string next;
    next.reserve(keep);
    for (std::size_t i = total - keep; i < total; ++i)
        next.push_back(static_cast<char>(i < c ? carry_[i] : piece[i - c]));
    if (total > keep) {
        const std::size_t i = total - keep - 1;
        beforeCarry_ = i < c ? static_cast<std::uint8_t>(carry_[i]) : piece[i - c];
    }
    carry_ = std::move(next);
    return false;
}

}  // namespace vault
