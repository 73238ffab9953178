// The Data Encryption Standard block cipher and its two-key triple form.
// Blocks and keys are bytes in the standard's order (bit 1 = the high bit of
// byte 0); the parity bit of each key byte is ignored.
#pragma once
#include <cstddef>
#include <cstdint>

namespace des {

constexpr std::size_t kBlockSize = 8;

// Sixteen round keys, each split the way the round function consumes them.
struct RoundKeys {
    std::uint32_t odd[16];   // S-box groups 1, 3, 5, 7 (one per byte)
    std::uint32_t even[16];  // S-box groups 0, 2, 4, 6
};

class Des {
public:
    explicit Des(const std::uint8_t key[8]);
    void EncryptBlock(const std::uint8_t in[8], std::uint8_t out[8]) const;
    void DecryptBlock(const std::uint8_t in[8], std::uint8_t out[8]) const;

private:
    RoundKeys enc_;
    RoundKeys dec_;
};

// E_K1(D_K2(E_K1(x))) with K1 = key bytes 0-7 and K2 = bytes 8-15, in
// electronic-codebook mode. `in` and `out` may be the same buffer.
class TripleDes2 {
public:
    explicit TripleDes2(const std::uint8_t key[16]);
    void Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

private:
    RoundKeys enc1_, dec1_, enc2_, dec2_;
};

}  // namespace des
