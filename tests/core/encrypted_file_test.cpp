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
