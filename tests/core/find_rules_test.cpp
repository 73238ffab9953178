#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vault/find_rules.h"

using vault::ContentSearch;
using vault::FindOptions;
using vault::LookAt;
using vault::TextMatcher;

namespace {

bool WholeWord(const std::string& find, const std::string& text) { return TextMatcher(find, false, true).Matches(text); }

// Feeds `text` cut at the given offsets; the last piece ends the file.
bool SearchInPieces(const TextMatcher& m, const std::string& text, std::vector<std::size_t> cuts) {
    ContentSearch search(m);
    cuts.push_back(text.size());
    std::size_t from = 0;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data()) + from;
        if (search.Feed(p, cuts[i] - from, i + 1 == cuts.size())) return true;
        from = cuts[i];
    }
    return false;
}

}  // namespace

TEST(FindMatching, WholeWordCaseAndFirstOccurrence) {
    EXPECT_TRUE(WholeWord("plan", "plan 2003"));
    EXPECT_TRUE(WholeWord("plan", "my plan"));
    EXPECT_TRUE(WholeWord("plan", "plan"));
    EXPECT_FALSE(WholeWord("plan", "planning"));
    EXPECT_FALSE(WholeWord("plan", "plan,2003"));
    EXPECT_FALSE(WholeWord("plan", "my\tplan"));  // only blanks separate words
    // Only the first occurrence is judged.
    EXPECT_FALSE(WholeWord("plan", "planning plan"));
    EXPECT_TRUE(TextMatcher("plan", false, false).Matches("planning plan"));

    EXPECT_TRUE(TextMatcher("PLAN", false, false).Matches("My Plan"));
    EXPECT_FALSE(TextMatcher("PLAN", true, false).Matches("My Plan"));
    EXPECT_TRUE(TextMatcher("Plan", true, false).Matches("My Plan"));
    EXPECT_FALSE(TextMatcher("", false, false).Matches("anything"));
    EXPECT_FALSE(TextMatcher("longer than", false, false).Matches("short"));

    // Letters beyond ASCII fold as the table given says.
    vault::CaseFold fold = vault::AsciiCaseFold();
    fold[0xC9] = 0xE9;
    EXPECT_TRUE(TextMatcher("\xC9t\xC9", false, false, fold).Matches("l'\xE9t\xE9"));
    EXPECT_FALSE(TextMatcher("\xC9t\xC9", false, false).Matches("l'\xE9t\xE9"));
}

TEST(FindOptionsMask, StoredBitsAndOrder) {
    const auto initial = FindOptions::FromMask(vault::kInitialFindMask);
    EXPECT_TRUE(initial.title && initial.description && initial.fileName);
    EXPECT_FALSE(initial.content || initial.matchCase || initial.wholeWord);
    EXPECT_EQ(initial.Mask(), 0x70u);
    EXPECT_EQ(FindOptions::FromMask(0x80 | 0x04 | 0x02).Mask(), 0x86u);
    EXPECT_EQ(vault::FindOrder(initial),
              (std::vector<LookAt>{LookAt::title, LookAt::description, LookAt::fileName, LookAt::end}));
    EXPECT_EQ(vault::FindOrder(FindOptions::FromMask(0x90)), (std::vector<LookAt>{LookAt::title, LookAt::content,
                                                                                   LookAt::end}));
    // A position past a narrowed order reads as the end.
    vault::FindState state;
    state.order = vault::FindOrder(FindOptions::FromMask(0x10));
    state.optionPosition = 3;
    EXPECT_EQ(state.Current(), LookAt::end);
}

TEST(ContentSearch, OccurrenceAcrossPieces) {
    const TextMatcher m("needle", false, false);
    const std::string text = "hay hay NEEDLE hay";
    for (std::size_t cut = 1; cut < text.size(); ++cut) EXPECT_TRUE(SearchInPieces(m, text, {cut})) << cut;
    EXPECT_TRUE(SearchInPieces(m, text, {8, 9, 10, 11, 12, 13}));
    EXPECT_FALSE(SearchInPieces(m, "needl", {}));
    // A file ending exactly at a piece boundary is ended by an empty piece.
    EXPECT_TRUE(SearchInPieces(m, "a needle", {8}));
}

TEST(ContentSearch, WholeWordSeesTheFileNotThePieces) {
    const TextMatcher m("plan", false, true);
    // A piece boundary is no blank: neither before the word...
    EXPECT_FALSE(SearchInPieces(m, "xplan more", {1}));
    EXPECT_FALSE(SearchInPieces(m, "a xplan more", {3}));
    // ...nor after it.
    EXPECT_TRUE(SearchInPieces(m, "a plan", {}));
    EXPECT_FALSE(SearchInPieces(m, "a planning", {6}));
    EXPECT_TRUE(SearchInPieces(m, "a plan next", {6}));
    EXPECT_TRUE(SearchInPieces(m, "a plan", {6}));  // the end of the file ends the word
    EXPECT_TRUE(SearchInPieces(m, "plan", {2}));
    // The first occurrence of each searched text is the one judged.
    EXPECT_FALSE(SearchInPieces(m, "planning plan", {}));
    EXPECT_TRUE(SearchInPieces(m, "planning plan", {9}));
}

TEST(ContentSearch, RealPieceSizeAndBinaryBytes) {
    const TextMatcher m("boundary", true, false);
    std::string text(vault::kContentPieceSize + 100, 'x');
    text.replace(vault::kContentPieceSize - 3, 8, "boundary");
    text[10] = '\0';
    EXPECT_TRUE(SearchInPieces(m, text, {vault::kContentPieceSize}));
    text.replace(vault::kContentPieceSize - 3, 8, "boundarY");
    EXPECT_FALSE(SearchInPieces(m, text, {vault::kContentPieceSize}));
}
