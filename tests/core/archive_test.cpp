#include "common/archive.h"

#include <gtest/gtest.h>

using arc::ArchiveReader;
using arc::ArchiveWriter;
using arc::Bytes;

namespace {

std::string RoundTripText(const std::string& s, std::size_t expectPrefix) {
    ArchiveWriter w;
    w.Text(s);
    EXPECT_EQ(w.bytes().size(), s.size() + expectPrefix) << "length " << s.size();
    ArchiveReader r(w.bytes());
    std::string back;
    EXPECT_TRUE(r.Text(back));
    EXPECT_EQ(r.remaining(), 0u);
    return back;
}

}  // namespace

TEST(Archive, TextPrefixesAtEveryBoundary) {
    for (std::size_t len : {0u, 1u, 254u}) EXPECT_EQ(RoundTripText(std::string(len, 'a'), 1).size(), len);
    for (std::size_t len : {255u, 256u, 0xFFFDu}) EXPECT_EQ(RoundTripText(std::string(len, 'b'), 3).size(), len);
    for (std::size_t len : {0xFFFEu, 0xFFFFu, 0x10000u, 70000u})
        EXPECT_EQ(RoundTripText(std::string(len, 'c'), 7).size(), len);

    ArchiveWriter w;
    w.Text(std::string(255, 'x'));
    EXPECT_EQ(w.bytes()[0], 0xFF);
    EXPECT_EQ(w.bytes()[1], 0xFF);
    EXPECT_EQ(w.bytes()[2], 0x00);
    ArchiveWriter w2;
    w2.Text(std::string(0xFFFE, 'x'));
    EXPECT_EQ(Bytes(w2.bytes().begin(), w2.bytes().begin() + 7),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
}

TEST(Archive, CountsAndIntegersAreLittleEndian) {
    ArchiveWriter w;
    w.Count(0xFFFE);
    w.Count(0xFFFF);
    w.Count(70000);
    w.U32(0x10000);
    w.I32(-2);
    w.F64(1.5);
    const Bytes expect{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00,
                       0x00, 0x00, 0x01, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
    EXPECT_EQ(w.bytes(), expect);
    ArchiveReader r(w.bytes());
    std::uint32_t a, b, c, d;
    std::int32_t e;
    double f;
    ASSERT_TRUE(r.Count(a) && r.Count(b) && r.Count(c) && r.U32(d) && r.I32(e) && r.F64(f));
    EXPECT_EQ(a, 0xFFFEu);
    EXPECT_EQ(b, 0xFFFFu);
    EXPECT_EQ(c, 70000u);
    EXPECT_EQ(d, 0x10000u);
    EXPECT_EQ(e, -2);
    EXPECT_EQ(f, 1.5);
}

TEST(Archive, ListOfSeventyThousandTexts) {
    std::vector<std::string> list;
    for (int i = 0; i < 70000; ++i) list.push_back(std::to_string(i));
    ArchiveWriter w;
    w.TextList(list);
    ArchiveReader r(w.bytes());
    std::vector<std::string> back;
    ASSERT_TRUE(r.TextList(back));
    EXPECT_EQ(back, list);
}

TEST(Archive, ReadsWideText) {
    // 0xFF 0xFFFE marks the wide form; then a normal prefix and UTF-16LE.
    const Bytes wide{0xFF, 0xFE, 0xFF, 3, 'A', 0, 0xE9, 0, 0x3A, 0x04};
    ArchiveReader r(wide);
    std::string s;
    ASSERT_TRUE(r.Text(s));
    EXPECT_EQ(s, std::string("A\xE9?"));
    EXPECT_EQ(r.remaining(), 0u);

    const Bytes nested{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0};
    ArchiveReader r2(nested);
    EXPECT_FALSE(r2.Text(s));
}

TEST(Archive, EveryTruncationIsRejected) {
    ArchiveWriter w;
    w.U32(7);
    w.Text("short");
    w.Text(std::string(300, 'm'));
    w.Text(std::string(70000, 'l'));
    w.TextList({"a", "", std::string(255, 'z')});
    w.Count(1);
    w.F64(2.0);
    const Bytes& full = w.bytes();
    auto readAll = [](ArchiveReader& r) {
        std::uint32_t u, n;
        std::string a, b, c;
        std::vector<std::string> l;
        double d;
        return r.U32(u) && r.Text(a) && r.Text(b) && r.Text(c) && r.TextList(l) && r.Count(n) && r.F64(d);
    };
    ArchiveReader whole(full);
    ASSERT_TRUE(readAll(whole));
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        ArchiveReader r(full.data(), cut);
        EXPECT_FALSE(readAll(r)) << "cut at " << cut;
        EXPECT_FALSE(r.ok());
    }
}

TEST(Archive, HostileLengthsFailWithoutAllocating) {
    const Bytes hugeText{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    ArchiveReader r(hugeText);
    std::string s;
    EXPECT_FALSE(r.Text(s));
    const Bytes hugeList{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
    ArchiveReader r2(hugeList);
    std::vector<std::string> l;
    EXPECT_FALSE(r2.TextList(l));
    const Bytes hugeWide{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    ArchiveReader r3(hugeWide);
    EXPECT_FALSE(r3.Text(s));
}
