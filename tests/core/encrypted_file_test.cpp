#include "vault/encrypted_file.h"

#include <gtest/gtest.h>

#include "tests/core/test_bytes.h"
#include "vault/des.h"
#include "vault/password_key.h"

using testbytes::Bytes;
using testbytes::Sample;
using testbytes::ToHex;
using vault::DerivePasswordKey;
using vault::EncryptedFileHeader;
using vault::OpenStatus;

// Expected keys computed independently, one DES block at a time with openssl.
TEST(DerivePasswordKey, KnownKeysAndRoundBoundaries) {
    EXPECT_EQ(ToHex(DerivePasswordKey("")), "e4b2a1061325883d6db9d35fba60a492");
    EXPECT_EQ(ToHex(vault::DoubleBlockStep(vault::kSeedKey, vault::kSeedKey)), "e4b2a1061325883d6db9d35fba60a492");
    EXPECT_EQ(ToHex(DerivePasswordKey("a")), "ef854c2747e866c7d345e9a588f60f33");
    EXPECT_EQ(ToHex(DerivePasswordKey("0123456789abcdef")), "f3711c7b3b972c4dd8061308a81d2282");
    EXPECT_EQ(ToHex(DerivePasswordKey("0123456789abcdefg")), "4df111f8f5d86b56f21dce2832281c53");
    EXPECT_EQ(ToHex(DerivePasswordKey(std::string(40, 'x'))), "621b9651b5df0101b96c71a8661dc468");
}

TEST(DerivePasswordKey, OnlyTheLowSevenBitsCount) {
    EXPECT_EQ(ToHex(DerivePasswordKey("caf\xe9")), "da38fae34842a7136ba9bc925cc502ee");
    EXPECT_EQ(DerivePasswordKey("caf\xe9"), DerivePasswordKey("cafi"));
    EXPECT_NE(DerivePasswordKey("cafe"), DerivePasswordKey("cafi"));
    // A character that is zero in its low bits still extends the password.
    EXPECT_NE(DerivePasswordKey(std::string(16, 'a') + "\x80"), DerivePasswordKey(std::string(16, 'a')));
}

TEST(EncryptedFile, SizeAlwaysPadsWithOneToEightZeros) {
    EXPECT_EQ(vault::EncryptedFileSize(0), 32u);
    EXPECT_EQ(vault::EncryptedFileSize(2), 32u);
    EXPECT_EQ(vault::EncryptedFileSize(3), 40u);
    EXPECT_EQ(vault::EncryptedFileSize(4), 40u);
    EXPECT_EQ(vault::EncryptedFileSize(0xFFFFFFFFu), 0x100000020u);
    for (std::uint64_t n = 0; n < 40; ++n) {
        const std::uint64_t pad = vault::EncryptedFileSize(n) - 29 - n;
        EXPECT_TRUE(pad >= 1 && pad <= 8) << n;
    }
}

TEST(EncryptedFile, BuildsHeaderContentAndZeroPadding) {
    EncryptedFileHeader h;
    h.key = DerivePasswordKey("secret");
    h.length = 999;  // replaced by the content's length
    h.created = 0x01020304;
    h.modified = 0xA0B0C0D0;
    h.attributes = 0x21;
    const Bytes content = {'a', 'b', 'c'};
    Bytes file = vault::BuildEncryptedFile(h, content.data(), content.size());
    ASSERT_EQ(file.size(), 40u);
    des::TripleDes2(h.key.data()).Decrypt(file.data(), file.data(), 5);
    Bytes expected(h.key.begin(), h.key.end());
    for (std::uint8_t b : {3, 0, 0, 0, 4, 3, 2, 1, 0xD0, 0xC0, 0xB0, 0xA0, 0x21, 0x61, 0x62, 0x63}) expected.push_back(b);
    expected.resize(40, 0);
    EXPECT_EQ(file, expected);
}

TEST(EncryptedFile, OpensWhatWasBuiltForEveryPaddingLength) {
    const auto key = DerivePasswordKey("p");
    for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 10u, 11u, 1000u, 4099u}) {
        const Bytes content = Sample(n);
        EncryptedFileHeader h;
        h.key = key;
        h.modified = 1700000000;
        h.attributes = 0x02;
        Bytes file = vault::BuildEncryptedFile(h, content.data(), content.size());
        EncryptedFileHeader got;
        ASSERT_EQ(vault::OpenEncryptedFile(file.data(), file.size(), key, got), OpenStatus::kOpened) << n;
        EXPECT_EQ(got.length, n);
        EXPECT_EQ(got.modified, 1700000000u);
        EXPECT_EQ(got.attributes, 0x02);
        EXPECT_EQ(Bytes(file.begin() + 29, file.begin() + 29 + n), content);
    }
}

TEST(EncryptedFile, RefusalsLeaveTheBufferUntouched) {
    const auto key = DerivePasswordKey("right");
    EncryptedFileHeader h;
    h.key = key;
    const Bytes content = Sample(20);
    const Bytes file = vault::BuildEncryptedFile(h, content.data(), content.size());
    EncryptedFileHeader got;

    Bytes copy = file;
    EXPECT_EQ(vault::OpenEncryptedFile(copy.data(), copy.size(), DerivePasswordKey("wrong"), got),
              OpenStatus::kWrongPassword);
    EXPECT_EQ(copy, file);
    EXPECT_EQ(vault::OpenEncryptedFile(copy.data(), copy.size() - 1, key, got), OpenStatus::kImpossibleLength);
    EXPECT_EQ(vault::OpenEncryptedFile(copy.data(), 24, key, got), OpenStatus::kImpossibleLength);
    EXPECT_EQ(vault::OpenEncryptedFile(nullptr, 0, key, got), OpenStatus::kImpossibleLength);

    // The right key with a stated length beyond the data: damaged.
    Bytes plain(file.size(), 0);
    h.Write(plain.data());
    for (std::uint32_t stated : {std::uint32_t(plain.size() - 28), 0xFFFFFFFFu}) {
        plain[16] = static_cast<std::uint8_t>(stated);
        plain[17] = static_cast<std::uint8_t>(stated >> 8);
        plain[18] = static_cast<std::uint8_t>(stated >> 16);
        plain[19] = static_cast<std::uint8_t>(stated >> 24);
        Bytes damaged(plain.size());
        des::TripleDes2(key.data()).Encrypt(plain.data(), damaged.data(), plain.size() / 8);
        const Bytes before = damaged;
        EXPECT_EQ(vault::OpenEncryptedFile(damaged.data(), damaged.size(), key, got), OpenStatus::kDamaged);
        EXPECT_EQ(damaged, before);
    }
    // Exactly all the data after the header is still a valid length.
    plain[16] = static_cast<std::uint8_t>(plain.size() - 29);
    plain[17] = plain[18] = plain[19] = 0;
    Bytes full(plain.size());
    des::TripleDes2(key.data()).Encrypt(plain.data(), full.data(), plain.size() / 8);
    EXPECT_EQ(vault::OpenEncryptedFile(full.data(), full.size(), key, got), OpenStatus::kOpened);
}

namespace {

// Reads `source` in order; `readAt` counts what was taken.
vault::PieceReader ReaderOf(const Bytes& source, std::size_t& readAt) {
    return [&source, &readAt](std::uint8_t* p, std::size_t n) {
        if (readAt + n > source.size()) return false;
        std::copy(source.begin() + readAt, source.begin() + readAt + n, p);
        readAt += n;
        return true;
    };
}

// Appends what is written to `out`; `pieces` gets the size of each write.
vault::PieceWriter WriterTo(Bytes& out, std::vector<std::size_t>* pieces = nullptr) {
    return [&out, pieces](const std::uint8_t* p, std::size_t n) {
        if (pieces) pieces->push_back(n);
        out.insert(out.end(), p, p + n);
        return true;
    };
}

}  // namespace

TEST(EncryptedFile, StreamingGivesTheSameBytesAcrossEveryPieceBoundary) {
    const auto key = DerivePasswordKey("streamed");
    EncryptedFileHeader h;
    h.key = key;
    h.created = 1000000000;
    h.modified = 1100000000;
    h.attributes = 0x20;
    for (std::size_t bufferSize : {32u, 40u, 64u, 4096u}) {
        // The lengths where the content's end or its padding meets one of
        // the first piece boundaries (the header shifts them by 29).
        std::vector<std::size_t> lengths;
        for (std::size_t n = 0; n <= 40; ++n) lengths.push_back(n);
        for (std::size_t k = 1; k <= 3; ++k)
            for (std::size_t d = 0; d <= 18; ++d)
                if (k * bufferSize + d >= 29 + 9) lengths.push_back(k * bufferSize + d - 29 - 9);
        for (std::size_t n : lengths) {
            const Bytes content = Sample(n);
            h.length = static_cast<std::uint32_t>(n);
            std::vector<std::size_t> pieces;
            Bytes buffer(bufferSize), streamed, back;
            std::size_t readAt = 0;
            ASSERT_TRUE(vault::SealInPieces(h, buffer.data(), buffer.size(), ReaderOf(content, readAt),
                                            WriterTo(streamed, &pieces)));
            ASSERT_EQ(readAt, n);
            ASSERT_EQ(streamed, vault::BuildEncryptedFile(h, content.data(), n)) << bufferSize << " " << n;
            for (std::size_t p : pieces) ASSERT_TRUE(p > 0 && p <= bufferSize && p % 8 == 0) << p;

            EncryptedFileHeader got;
            ASSERT_EQ(vault::CheckEncryptedHeader(streamed.data(), streamed.size(), key, got), OpenStatus::kOpened);
            ASSERT_EQ(got.length, n);
            readAt = 0;
            ASSERT_TRUE(vault::OpenInPieces(got, buffer.data(), buffer.size(), ReaderOf(streamed, readAt),
                                            WriterTo(back)));
            ASSERT_EQ(back, content) << bufferSize << " " << n;
            ASSERT_LE(streamed.size() - readAt, 8u);  // the padding block past the content is not needed
        }
    }
}

TEST(EncryptedFile, StreamingStopsAtTheFirstFailureAndRefusesOddBuffers) {
    EncryptedFileHeader h;
    h.key = DerivePasswordKey("k");
    h.length = 1000;
    Bytes buffer(64);
    int writes = 0;
    const auto fill = [](std::uint8_t* p, std::size_t n) {
        std::fill(p, p + n, 0x41);
        return true;
    };
    const auto failSecond = [&](const std::uint8_t*, std::size_t) { return ++writes < 2; };
    EXPECT_FALSE(vault::SealInPieces(h, buffer.data(), buffer.size(), fill, failSecond));
    EXPECT_EQ(writes, 2);

    int reads = 0;
    writes = 0;
    const auto failThirdRead = [&](std::uint8_t* p, std::size_t n) { return ++reads < 3 && fill(p, n); };
    const auto count = [&](const std::uint8_t*, std::size_t) { return ++writes > 0; };
    EXPECT_FALSE(vault::SealInPieces(h, buffer.data(), buffer.size(), failThirdRead, count));
    EXPECT_EQ(writes, 2);  // nothing is written for the piece whose read failed
    reads = 0;
    EXPECT_FALSE(vault::OpenInPieces(h, buffer.data(), buffer.size(), failThirdRead, count));

    for (std::size_t odd : {0u, 24u, 36u})
        EXPECT_FALSE(vault::SealInPieces(h, buffer.data(), odd, fill, count)) << odd;
    EXPECT_FALSE(vault::OpenInPieces(h, buffer.data(), 12, fill, count));
}
