#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "vault/collision_name.h"
#include "vault/document_record.h"

// The largest single request made through operator new while watching, so a
// test can see what a decoder was made to allocate.
namespace {
bool g_watchAllocations = false;
std::size_t g_largestAllocation = 0;
}  // namespace

#if defined(__GNUC__) && !defined(__clang__)
// GCC pairs the replaced operators with malloc/free and warns on that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
    if (g_watchAllocations && n > g_largestAllocation) g_largestAllocation = n;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using arc::Bytes;
using vault::DecodeIndex;
using vault::DocumentRecord;
using vault::DocumentRecords;
using vault::EncodeIndex;

namespace {

// Byte-building helpers, written from the file layout rather than through
// the archive writer, so an encoder fault cannot hide in both sides.
void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PutShortText(Bytes& b, const std::string& s) {
    b.push_back(static_cast<std::uint8_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}

DocumentRecords Decode(const Bytes& b, bool expectOk = true) {
    DocumentRecords out;
    const auto res = DecodeIndex(b.data(), b.size(), out);
    EXPECT_EQ(res.ok, expectOk) << res.problem;
    return out;
}

DocumentRecord Sample(int i) {
    DocumentRecord r;
    r.origin = "C:\\In\\doc" + std::to_string(i) + ".txt";
    r.description = i % 2 ? "" : "about " + std::to_string(i);
    r.workingFolder = "C:\\Temp";
    r.name = "doc" + std::to_string(i) + ".txt";
    r.type = ".txt";
    r.modified = 1000u + i;
    r.created = 900u + i;
    r.size = i * 10;
    r.encoded = i % 2;
    for (int c = 0; c < i % 3; ++c) r.companions.push_back("pic" + std::to_string(c) + ".gif");
    return r;
}

bool Same(const DocumentRecord& a, const DocumentRecord& b) {
    return a.origin == b.origin && a.description == b.description && a.workingFolder == b.workingFolder &&
           a.name == b.name && a.type == b.type && a.modified == b.modified && a.created == b.created &&
           a.size == b.size && a.encoded == b.encoded && a.version == b.version && a.companions == b.companions;
}

}  // namespace

TEST(DocumentIndex, EncodesTheCurrentLayoutByteForByte) {
    DocumentRecord a;
    a.origin = "C:\\a.txt";
    a.description = std::string(254, 'd');
    a.workingFolder = "C:\\";
    a.name = "a.txt";
    a.type = ".txt";
    a.modified = 0x01020304;
    a.created = 0xFFFFFFFF;
    a.size = -1;
    a.encoded = 1;
    a.companions = {"p.gif", std::string(255, 'c')};
    DocumentRecord b;  // a new record with nothing but its name
    b.name = "b";

    Bytes expect{0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00};
    PutShortText(expect, "C:\\a.txt");
    expect.push_back(0xFE);  // 254 still has a one-byte length
    expect.insert(expect.end(), 254, 'd');
    PutShortText(expect, "C:\\");
    PutShortText(expect, "a.txt");
    PutShortText(expect, ".txt");
    expect.insert(expect.end(), {0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                 0x01, 0x00, 0x00, 0x00});
    expect.insert(expect.end(), {0x02, 0x00});
    PutShortText(expect, "p.gif");
    expect.insert(expect.end(), {0xFF, 0xFF, 0x00});  // 255 needs the escape and a 16-bit length
    expect.insert(expect.end(), 255, 'c');
    expect.insert(expect.end(), 3, 0x00);  // empty origin, description, working folder
    PutShortText(expect, "b");
    expect.push_back(0x00);                 // empty type
    expect.insert(expect.end(), 16, 0x00);  // times, size, flag
    expect.insert(expect.end(), {0x00, 0x00});

    EXPECT_EQ(EncodeIndex({a, b}), expect);
    const auto back = Decode(expect);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(Same(back[0], a));
    EXPECT_TRUE(Same(back[1], b));
    EXPECT_EQ(back[1].version, 0x10000);
}

TEST(DocumentIndex, EarlierLayoutIsReadAndRewrittenInTheCurrentOne) {
    Bytes old;
    Put32(old, 3);
    for (int i = 0; i < 3; ++i) {
        for (const char* t : {"C:\\src\\f", "desc", "D:\\", "f", ""}) PutShortText(old, t + std::to_string(i));
        Put32(old, 10 + i);
        Put32(old, 20 + i);
        Put32(old, 30 + i);
        Put32(old, 0);
    }
    const auto recs = Decode(old);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[2].origin, "C:\\src\\f2");
    EXPECT_EQ(recs[2].type, "2");
    EXPECT_EQ(recs[1].modified, 11u);
    EXPECT_EQ(recs[1].created, 21u);
    EXPECT_EQ(recs[0].size, 30);
    EXPECT_EQ(recs[0].version, 0x10000);
    EXPECT_TRUE(recs[0].companions.empty());

    const Bytes now = EncodeIndex(recs);
    Bytes expect{0x00, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00};
    std::size_t pos = 4;
    for (int i = 0; i < 3; ++i) {
        std::size_t len = 0;  // this record's texts and numbers
        for (const char* t : {"C:\\src\\f", "desc", "D:\\", "f", ""}) len += 1 + std::string(t).size() + 1;
        len += 16;
        expect.insert(expect.end(), old.begin() + pos, old.begin() + pos + len);
        expect.insert(expect.end(), {0x00, 0x00});  // the companion count the old layout lacked
        pos += len;
    }
    EXPECT_EQ(now, expect);
}

TEST(DocumentIndex, EmptyInputAndTrailingBytes) {
    EXPECT_TRUE(Decode({}).empty());
    EXPECT_TRUE(Decode({0, 0, 0, 0}).empty());  // an earlier-layout file with no records

    // A shorter index written over a longer one leaves the old tail behind.
    DocumentRecords many{Sample(1), Sample(2), Sample(3)};
    Bytes file = EncodeIndex(many);
    const Bytes fewer = EncodeIndex({Sample(7)});
    std::copy(fewer.begin(), fewer.end(), file.begin());
    const auto back = Decode(file);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_TRUE(Same(back[0], Sample(7)));
}

TEST(DocumentIndex, EveryTruncationIsRejected) {
    DocumentRecords recs;
    for (int i = 0; i < 4; ++i) recs.push_back(Sample(i));
    recs[3].description = std::string(300, 'x');
    const Bytes full = EncodeIndex(recs);
    ASSERT_EQ(Decode(full).size(), 4u);
    for (std::size_t cut = 1; cut < full.size(); ++cut) {
        DocumentRecords out;
        const auto res = DecodeIndex(full.data(), cut, out);
        EXPECT_FALSE(res.ok) << "cut at " << cut;
        EXPECT_FALSE(res.problem.empty());
        EXPECT_EQ(out.size(), res.recordsRead);
        EXPECT_LT(out.size(), 4u);
    }
}

TEST(DocumentIndex, HostileCountsAreRefusedBeforeReading) {
    // Claims two billion records after one real record; must fail without
    // allocating for the claim.
    Bytes claim = EncodeIndex({Sample(2)});
    claim[4] = claim[5] = claim[6] = 0xFF;
    claim[7] = 0x7F;
    g_largestAllocation = 0;
    g_watchAllocations = true;
    EXPECT_TRUE(Decode(claim, false).empty());
    g_watchAllocations = false;
    EXPECT_LT(g_largestAllocation, 64 * claim.size());
    // A negative count in the current layout, a negative header.
    EXPECT_TRUE(Decode({0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, false).empty());
    EXPECT_TRUE(Decode({0xFF, 0xFF, 0xFF, 0xFF}, false).empty());
    // Earlier layout: header 0xFFFF records in 100 bytes.
    Bytes old{0xFF, 0xFF, 0x00, 0x00};
    old.resize(104, 0);
    EXPECT_TRUE(Decode(old, false).empty());
    // A companion count larger than the bytes that follow.
    Bytes b = EncodeIndex({Sample(0)});
    b[b.size() - 2] = 0xFF;
    b[b.size() - 1] = 0xFE;
    EXPECT_TRUE(Decode(b, false).empty());
}

TEST(DocumentIndex, WideTextsAreReadIntoTheCodePage) {
    Bytes b{0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00};
    b.insert(b.end(), {0xFF, 0xFE, 0xFF, 0x02, 'C', 0x00, 0xE9, 0x00});  // origin in the wide form
    b.insert(b.end(), 2, 0x00);  // description, working folder
    PutShortText(b, "n");
    PutShortText(b, "");
    b.insert(b.end(), 16 + 2, 0x00);
    const auto recs = Decode(b);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].origin, "C\xE9");
    EXPECT_EQ(recs[0].name, "n");
}

TEST(DocumentIndex, RecordForPathFollowsThePathRules) {
    const std::string root = "C:\\Vault\\Root";
    auto r = vault::RecordForPath("D:\\report", root);
    EXPECT_EQ(r.type, "");
    EXPECT_EQ(r.name, "report");
    EXPECT_EQ(r.workingFolder, "D:\\");
    EXPECT_EQ(r.origin, "D:\\report");
    EXPECT_EQ(vault::RecordForPath("D:\\notes.old\\readme", root).type, ".old\\readme");
    EXPECT_EQ(vault::RecordForPath("D:\\notes.old\\readme", root).workingFolder, "D:\\notes.old");
    EXPECT_EQ(vault::RecordForPath("C:\\Vault\\Root\\Cat\\a.txt", root).workingFolder, "C:\\Temp");
    EXPECT_EQ(vault::RecordForPath("C:\\Vault\\Root\\a.txt", root).workingFolder, "C:\\Temp");
    // The rule is a plain prefix comparison, case-sensitive.
    EXPECT_EQ(vault::RecordForPath("C:\\vault\\root\\a.txt", root).workingFolder, "C:\\vault\\root");
    const auto fresh = vault::RecordForPath("E:\\x\\y.doc", root);
    EXPECT_EQ(fresh.description, "");
    EXPECT_EQ(fresh.encoded, 0);
    EXPECT_EQ(fresh.version, 0x10000);
}

TEST(CollisionName, NumberGoesBeforeTheExtension) {
    EXPECT_EQ(vault::NumberedName("C:\\A\\name.ext", 2), "C:\\A\\name (2).ext");
    EXPECT_EQ(vault::NumberedName("a.tar.gz", 3), "a.tar (3).gz");
    EXPECT_EQ(vault::NumberedName("C:\\notes.old\\readme", 2), "C:\\notes.old\\readme (2)");
    EXPECT_EQ(vault::NumberedName(".profile", 2), ".profile (2)");
}

TEST(DocumentIndex, NamesThatLeaveTheCatalogMakeTheIndexMalformed) {
    for (const char* name : {"..\\victim.txt", "C:evil", "sub/x", "..", "", ".", "...", "../a.txt"}) {
        DocumentRecord bad;
        bad.name = name;
        Decode(EncodeIndex({bad}), false);
    }
    DocumentRecord withCompanion;
    withCompanion.name = "page.htm";
    withCompanion.companions = {"pic.gif", "..\\..\\boot.ini"};
    Decode(EncodeIndex({withCompanion}), false);
    withCompanion.companions = {"pic.gif"};
    EXPECT_EQ(Decode(EncodeIndex({withCompanion})).size(), 1u);
}
