#include "vault/des.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/test_bytes.h"

namespace {

using testbytes::Bytes;
using testbytes::Hex;
using testbytes::Sample;
using testbytes::ToHex;

std::string DesEncrypt(const std::string& key, const std::string& plain) {
    const Bytes k = Hex(key), p = Hex(plain);
    des::Des d(k.data());
    Bytes out(p.size());
    for (std::size_t i = 0; i < p.size(); i += 8) d.EncryptBlock(p.data() + i, out.data() + i);
    return ToHex(out.data(), out.size());
}

std::uint64_t Fnv1a(const Bytes& b) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (auto c : b) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

}  // namespace

TEST(Des, PublishedSingleBlockVectors) {
    EXPECT_EQ(DesEncrypt("133457799BBCDFF1", "0123456789ABCDEF"), "85e813540f0ab405");
    EXPECT_EQ(DesEncrypt("0101010101010101", "8000000000000000"), "95f8a5e5dd31d900");
    EXPECT_EQ(DesEncrypt("0101010101010101", "4000000000000000"), "dd7f121ca5015619");
    EXPECT_EQ(DesEncrypt("8001010101010101", "0000000000000000"), "95a8d72813daa94d");
    EXPECT_EQ(DesEncrypt("4001010101010101", "0000000000000000"), "0eec1487dd8c26d5");
    EXPECT_EQ(DesEncrypt("0123456789ABCDEF", "4e6f77206973207468652074696d6520666f7220616c6c20"),
              "3fa40e8a984d48156a271787ab8883f9893d51ec4b563b53");
    // Parity bits are ignored: these two keys are the same key.
    EXPECT_EQ(DesEncrypt("0000000000000000", "0000000000000000"), "8ca64de9c1b123a7");
    EXPECT_EQ(DesEncrypt("0101010101010101", "0000000000000000"), "8ca64de9c1b123a7");
    EXPECT_EQ(DesEncrypt("FEFEFEFEFEFEFEFE", "FFFFFFFFFFFFFFFF"), "7359b2163e4edc58");
}

TEST(Des, WeakKeyEncryptsBackToThePlaintextAndDecryptInverts) {
    EXPECT_EQ(DesEncrypt("1F1F1F1F0E0E0E0E", "0123456789ABCDEF"), "db958605f8c8c606");
    EXPECT_EQ(DesEncrypt("1F1F1F1F0E0E0E0E", "db958605f8c8c606"), "0123456789abcdef");

    const Bytes key = Hex("133457799BBCDFF1");
    des::Des d(key.data());
    const Bytes plain = Sample(64);
    for (std::size_t i = 0; i < plain.size(); i += 8) {
        std::uint8_t c[8], back[8];
        d.EncryptBlock(plain.data() + i, c);
        d.DecryptBlock(c, back);
        EXPECT_EQ(Bytes(back, back + 8), Bytes(plain.begin() + i, plain.begin() + i + 8));
    }
}

// Ciphertexts of 4096 bytes of Sample() made once with
// `openssl enc -des-ede-ecb -K <key> -nopad`: first 16 and last 8 bytes,
// and the FNV-1a hash of all 4096.
TEST(TripleDes2, MatchesTheReferenceCiphertexts) {
    struct Vector {
        const char* key;
        const char* head;
        const char* tail;
        std::uint64_t hash;
    };
    const Vector vectors[] = {
        {"0123456789ABCDEFFEDCBA9876543210", "a303e905757f2584653c6e2984514b09", "9bf36346d353a88d",
         0x6fcf8780133eae7aull},
        {"5A0CE3719B24D846A17F30C26E950BF8", "986efed1d8b137353c554e1ec6c46c1f", "a9a4f5270c467711",
         0x22be8f6683a92ffcull},
        {"0123456789ABCDEF0123456789ABCDEF", "36199f3b35fe57e784dbc077a89f5bf5", "d339a3fb01945976",
         0x34079e3874873c58ull},
        // The first key with every parity bit flipped.
        {"0022446688AACCEEFFDDBB9977553311", "a303e905757f2584653c6e2984514b09", "9bf36346d353a88d",
         0x6fcf8780133eae7aull},
        {"3B9F10C47A2E6D85E1074C9A2BD35F68", "24a1e326bab75972b1a6b7ddecfdf139", "ee7fd7094d9519c0",
         0xb2efddf1bb8ff3d7ull},
    };
    const Bytes plain = Sample(4096);
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.key);
        const Bytes key = Hex(v.key);
        const des::TripleDes2 cipher(key.data());
        Bytes c(plain.size());
        cipher.Encrypt(plain.data(), c.data(), c.size() / 8);
        EXPECT_EQ(ToHex(c.data(), 16), v.head);
        EXPECT_EQ(ToHex(c.data() + c.size() - 8, 8), v.tail);
        EXPECT_EQ(Fnv1a(c), v.hash);
        Bytes back(c.size());
        cipher.Decrypt(c.data(), back.data(), c.size() / 8);
        EXPECT_EQ(back, plain);
    }
}

TEST(TripleDes2, EveryBlockCountGivesTheSameBlocksInPlaceOrNot) {
    const Bytes key = Hex("3B9F10C47A2E6D85E1074C9A2BD35F68");
    const des::TripleDes2 cipher(key.data());
    const Bytes plain = Sample(8 * 13);
    Bytes whole(plain.size());
    cipher.Encrypt(plain.data(), whole.data(), 13);
    for (std::size_t blocks = 0; blocks <= 13; ++blocks) {
        Bytes part(plain.begin(), plain.begin() + 8 * blocks);
        cipher.Encrypt(part.data(), part.data(), blocks);
        EXPECT_EQ(part, Bytes(whole.begin(), whole.begin() + 8 * blocks)) << blocks << " blocks";
    }
    // Equal halves reduce to single DES.
    const Bytes same = Hex("133457799BBCDFF1133457799BBCDFF1");
    std::uint8_t out[8];
    des::TripleDes2(same.data()).Encrypt(Hex("0123456789ABCDEF").data(), out, 1);
    EXPECT_EQ(ToHex(out, 8), "85e813540f0ab405");
}
