#include "shell/dib_format.h"

#include <gtest/gtest.h>

#include "tests/support/bitmap_file.h"

namespace {

bool Decode(const std::string& file, dib::Bitmap& out) {
    return dib::Decode(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), out);
}
bool Decodes(const testbmp::Layout& layout) {
    dib::Bitmap out;
    return Decode(testbmp::File(layout), out);
}

testbmp::Layout TrueColour2x2() {
    testbmp::Layout s;
    // Two rows of two pixels, each row padded to 8 bytes.
    s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    return s;
}

testbmp::Layout Indexed(std::uint16_t bits, std::int32_t width, std::int32_t height) {
    testbmp::Layout s;
    s.bitCount = bits;
    s.width = width;
    s.height = height;
    s.table = testbmp::Table256();
    s.table.resize(4u << bits);
    s.pixels.assign(dib::RowBytes(width, bits) * height, 0x11);
    return s;
}

TEST(DibFormat, KeepsHeaderWithZeroSlackAndPixelsAsStored) {
    const testbmp::Layout layout = TrueColour2x2();
    const std::string file = testbmp::File(layout);
    dib::Bitmap b;
    ASSERT_TRUE(Decode(file, b));
    EXPECT_EQ(b.info.width, 2);
    EXPECT_EQ(b.info.height, 2);
    EXPECT_EQ(b.info.bitCount, 24);
    ASSERT_EQ(b.header.size(), 40 + dib::kHeaderSlack);
    EXPECT_EQ(std::string(b.header.begin(), b.header.begin() + 40), file.substr(14, 40));
    EXPECT_EQ(b.header.back(), 0);
    EXPECT_EQ(b.bits, layout.pixels);
    // True colour without colours-used: no palette.
    EXPECT_EQ(dib::NumberOfColours(b.info), 0u);
    EXPECT_TRUE(dib::ColourTable(b).empty());
}

TEST(DibFormat, ColourCountAndTableInRedGreenBlue) {
    dib::Bitmap b;
    ASSERT_TRUE(Decode(testbmp::File(Indexed(8, 3, 2)), b));
    EXPECT_EQ(dib::NumberOfColours(b.info), 256u);
    const auto table = dib::ColourTable(b);
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(table[0], (dib::Rgb{0, 255, 0}));
    EXPECT_EQ(table[200], (dib::Rgb{200, 55, 100}));

    ASSERT_TRUE(Decode(testbmp::File(Indexed(4, 5, 1)), b));
    EXPECT_EQ(dib::NumberOfColours(b.info), 16u);
    ASSERT_TRUE(Decode(testbmp::File(Indexed(1, 9, 3)), b));
    EXPECT_EQ(dib::NumberOfColours(b.info), 2u);

    // Colours-used, when set, is the count: also for true colour.
    testbmp::Layout used = TrueColour2x2();
    used.colorsUsed = 3;
    used.table.assign(12, 7);
    ASSERT_TRUE(Decode(testbmp::File(used), b));
    EXPECT_EQ(dib::ColourTable(b).size(), 3u);

    // Top-down rows are a picture too.
    testbmp::Layout topDown = TrueColour2x2();
    topDown.height = -2;
    EXPECT_TRUE(Decodes(topDown));
}

TEST(DibFormat, RefusesPixelOffsetsOutsideTheFile) {
    const testbmp::Layout good = TrueColour2x2();
    const std::size_t size = testbmp::File(good).size();
    for (long long offset : {0LL, 2LL, 13LL, 14LL, 53LL, static_cast<long long>(size) + 1, 0xFFFFFFFFLL}) {
        testbmp::Layout s = good;
        s.offset = offset;
        EXPECT_FALSE(Decodes(s)) << "offset " << offset;
    }
    // The offset may point at the end: a picture of no rows is refused for
    // its missing pixels, not read beyond.
    testbmp::Layout atEnd = good;
    atEnd.offset = static_cast<long long>(size);
    EXPECT_FALSE(Decodes(atEnd));
}

TEST(DibFormat, RefusesHeadersThatPromiseMoreThanTheFileHolds) {
    dib::Bitmap b;
    EXPECT_FALSE(Decode("", b));
    EXPECT_FALSE(Decode("BM", b));
    std::string notBm = testbmp::File(TrueColour2x2());
    notBm[1] = 'A';
    EXPECT_FALSE(Decode(notBm, b));

    testbmp::Layout s = TrueColour2x2();
    s.pixels.resize(15);  // one byte short of two padded rows
    EXPECT_FALSE(Decodes(s));

    s = TrueColour2x2();
    s.width = 0x40000000;
    EXPECT_FALSE(Decodes(s));
    s = TrueColour2x2();
    s.height = static_cast<std::int32_t>(0x80000000u);
    EXPECT_FALSE(Decodes(s));
    s = TrueColour2x2();
    s.width = 0;
    EXPECT_FALSE(Decodes(s));
    s = TrueColour2x2();
    s.bitCount = 7;
    EXPECT_FALSE(Decodes(s));
    s = TrueColour2x2();
    s.headerSize = 12;  // an older header layout this class does not read
    EXPECT_FALSE(Decodes(s));

    // A colour count beyond the header block and its slack.
    s = Indexed(8, 3, 2);
    s.colorsUsed = 0x40000000;
    EXPECT_FALSE(Decodes(s));
    s.colorsUsed = 256 + dib::kHeaderSlack / 4 + 1;
    EXPECT_FALSE(Decodes(s));

    // Run-length data is read up to its stated size, which must be there.
    s = Indexed(8, 4, 2);
    s.compression = dib::kRle8;
    s.pixels = {4, 1, 0, 0, 4, 2, 0, 1};
    EXPECT_TRUE(Decodes(s));
    s.sizeImage = 9;
    EXPECT_FALSE(Decodes(s));
    s.sizeImage = -1;
    s.height = -2;
    EXPECT_FALSE(Decodes(s));
}

}  // namespace
