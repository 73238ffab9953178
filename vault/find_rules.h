// The rules of Find: its options and their stored mask, the order in which
// a catalog's kinds are tested, the position a Find Next continues from,
// and how a text or a file's content read in pieces matches the find text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vault/case_fold.h"

namespace vault {

enum class LookAt { title, description, fileName, content, end };

struct FindOptions {
    bool title = true;
    bool description = true;
    bool fileName = true;
    bool content = false;
    bool matchCase = false;
    bool wholeWord = false;

    // 0x10 title, 0x20 description, 0x40 file name, 0x80 content,
    // 0x04 match case, 0x02 whole word.
    std::uint32_t Mask() const;
    static FindOptions FromMask(std::uint32_t mask);
};

// Title, description and file name: what the first Find of a run shows.
constexpr std::uint32_t kInitialFindMask = 0x70;
// Content is read in pieces of this many bytes.
constexpr std::size_t kContentPieceSize = 5242880;

// The checked kinds in their fixed order, then LookAt::end.
std::vector<LookAt> FindOrder(const FindOptions& options);

// Where Find stands between two presses of Find Next.
struct FindState {
    std::string text;
    FindOptions options;
    std::vector<LookAt> order;
    // The catalog being searched, as the catalog walk names it; 0 when the
    // walk has ended.
    std::uintptr_t catalog = 0;
    std::size_t optionPosition = 0;
    std::size_t documentPosition = 0;

    // The kind at the option position; a position past the order (the
    // options were narrowed between two presses) reads as the end.
    LookAt Current() const { return optionPosition < order.size() ? order[optionPosition] : LookAt::end; }
};

// The matching rule: only the first occurrence of the find text counts;
// with whole word it must stand between blanks (or the ends of the text).
// Without match case both sides are folded to lower case. An empty find
// text matches nothing.
class TextMatcher {
public:
    TextMatcher(std::string_view find, bool matchCase, bool wholeWord, const CaseFold& fold = AsciiCaseFold());
    bool Matches(std::string_view text) const;
    // Position of the first occurrence in data, or npos.
    std::size_t FindFirst(const std::uint8_t* data, std::size_t size) const;
    std::size_t length() const { return pattern_.size(); }
    bool wholeWord() const { return wholeWord_; }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    const std::uint8_t* fold_;
    std::string pattern_;  // folded unless the case must match
    bool wholeWord_;
    std::size_t skip_[256];  // by raw byte: how far the window may move
};

// The content of one file, fed piece by piece. Each piece is searched
// together with the last (length of the find text) bytes before it, so an
// occurrence across a piece boundary is found. For the whole-word test the
// neighbours are the file's own bytes: a piece boundary is no blank, and
// only the start and the end of the file count as ends of the text.
class ContentSearch {
public:
    explicit ContentSearch(const TextMatcher& matcher) : m_(matcher) {}
    // The next piece; `last` when the file ends with it. True on a hit.
    bool Feed(const std::uint8_t* piece, std::size_t size, bool last);
    void Reset();

private:
    enum class Verdict { hit, miss, undecided };
    Verdict Judge(std::size_t at, const std::uint8_t* piece, std::size_t size, bool last) const;
    const TextMatcher& m_;
    std::string carry_;
    int beforeCarry_ = -1;  // the byte before the carry; -1 at the file's start
};

}  // namespace vault
