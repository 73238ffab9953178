#include "common/handoff_record.h"

#include <gtest/gtest.h>

using handoff::DecodeHandoff;
using handoff::EncodeHandoff;
using handoff::HandoffRecord;

TEST(HandoffRecord, StorePageBytesAreExact) {
    HandoffRecord rec{0x00010A2Eu, {"<p>", "http://h/", "T.html"}};
    const arc::Bytes b = EncodeHandoff(rec);
    const arc::Bytes want = {0x2E, 0x0A, 0x01, 0x00, 3, 0, 3, '<', 'p', '>', 9, 'h', 't', 't', 'p', ':', '/', '/',
                             'h', '/', 6, 'T', '.', 'h', 't', 'm', 'l'};
    EXPECT_EQ(b, want);
    HandoffRecord back;
    ASSERT_TRUE(DecodeHandoff(b.data(), b.size(), back));
    EXPECT_EQ(back.window, rec.window);
    EXPECT_EQ(back.strings, rec.strings);
}

TEST(HandoffRecord, LengthAndCountEscapes) {
    HandoffRecord rec{7, {std::string(300, 'x'), std::string(254, 'y'), std::string(0xFFFE, 'z')}};
    const arc::Bytes b = EncodeHandoff(rec);
    // 300 bytes: 0xFF then 16-bit 300.
    EXPECT_EQ(b[6], 0xFF);
    EXPECT_EQ(b[7] | (b[8] << 8), 300);
    // 254 bytes still fit the one-byte prefix.
    EXPECT_EQ(b[9 + 300], 254);
    // 0xFFFE bytes need the 32-bit form.
    const std::size_t third = 9 + 300 + 1 + 254;
    EXPECT_EQ(b[third], 0xFF);
    EXPECT_EQ(b[third + 1], 0xFF);
    EXPECT_EQ(b[third + 2], 0xFF);
    EXPECT_EQ(b[third + 3] | (b[third + 4] << 8), 0xFFFE);
    HandoffRecord back;
    ASSERT_TRUE(DecodeHandoff(b.data(), b.size(), back));
    EXPECT_EQ(back.strings, rec.strings);

    HandoffRecord many{1, std::vector<std::string>(70000, "s")};
    const arc::Bytes m = EncodeHandoff(many);
    ASSERT_EQ(m.size(), 4u + 2 + 4 + 70000 * 2);
    EXPECT_EQ(m[4], 0xFF);
    EXPECT_EQ(m[5], 0xFF);
    EXPECT_EQ(m[6] | (m[7] << 8) | (m[8] << 16), 70000);
    ASSERT_TRUE(DecodeHandoff(m.data(), m.size(), back));
    EXPECT_EQ(back.strings.size(), 70000u);
}

TEST(HandoffRecord, DamagedRecordsAreRefused) {
    const arc::Bytes good = EncodeHandoff({5, {"abc", "de"}});
    HandoffRecord out{99, {"keep"}};
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(DecodeHandoff(good.data(), cut, out)) << "cut at " << cut;
    arc::Bytes extra = good;
    extra.push_back(0);
    EXPECT_FALSE(DecodeHandoff(extra.data(), extra.size(), out));
    // A count far beyond the bytes present.
    const arc::Bytes hugeCount = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 'a'};
    EXPECT_FALSE(DecodeHandoff(hugeCount.data(), hugeCount.size(), out));
    // A 32-bit text length beyond the bytes present.
    const arc::Bytes hugeText = {0, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    EXPECT_FALSE(DecodeHandoff(hugeText.data(), hugeText.size(), out));
    EXPECT_FALSE(DecodeHandoff(nullptr, 10, out));
    // A failed decode leaves the caller's record alone.
    EXPECT_EQ(out.window, 99u);
    EXPECT_EQ(out.strings, std::vector<std::string>{"keep"});
}

TEST(HandoffRecord, BuiltInOneBufferOfItsExactSize) {
    // Lengths on both sides of every prefix and count escape.
    const std::size_t lengths[] = {0, 254, 255, 0xFFFD, 0xFFFE, 70000};
    for (const std::size_t n : lengths) {
        const HandoffRecord rec{3, {std::string(n, 'a'), "u"}};
        EXPECT_EQ(handoff::HandoffSize({n, 1}), EncodeHandoff(rec).size()) << n;
    }
    EXPECT_EQ(handoff::HandoffSize(std::vector<std::size_t>(0xFFFE, 0)), 4u + 2 + 0xFFFE);
    EXPECT_EQ(handoff::HandoffSize(std::vector<std::size_t>(0xFFFF, 0)), 4u + 6 + 0xFFFF);

    // Texts that write themselves give the same bytes as copied ones.
    const HandoffRecord rec{0x1234, {std::string(300, 'p'), "", "name.html"}};
    std::vector<handoff::TextSource> sources;
    for (const auto& s : rec.strings)
        sources.push_back({s.size(), [&s](char* out) { std::copy(s.begin(), s.end(), out); }});
    const arc::Bytes built = EncodeHandoff(rec.window, sources);
    EXPECT_EQ(built, EncodeHandoff(rec));
    EXPECT_EQ(built.capacity(), built.size());
}
