#include "vault/des.h"

#include <array>

namespace des {
namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

// Tables of the standard, positions counted from 1 at the most significant bit.
constexpr std::uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10, 3,  13, 4,  7,  15, 2,
     8,  14, 12, 0,  1,  10, 6,  9,  11, 5, 0,  14, 7,  11, 10, 4, 13, 1,  5,  8,  12, 6,
     9,  3,  2,  15, 13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5, 1,  13, 12, 7,  11, 4,  2,  8, 13, 7,  0,  9, 3, 4,
     6,  10, 2,  8,  5,  14, 12, 11, 15, 1,  13, 6,  4,  9,  8,  15, 3,  0,  11, 1,  2, 12,
     5,  10, 14, 7,  1,  10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5, 2,  12},
    {7,  13, 14, 3,  0,  6, 9,  10, 1, 2,  8,  5, 11, 12, 4,  15, 13, 8, 11, 5,  6,  15,
     0,  3,  4,  7,  2,  12, 1,  10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1,  3, 14,
     5,  2,  8,  4,  3,  15, 0,  6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5, 3,  15, 13, 0,  14, 9,  14, 11, 2,  12, 4, 7,
     13, 1,  5,  0,  15, 10, 3,  9,  8,  6, 4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0,  14, 11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11, 10, 15, 4,  2, 7, 12,
     9,  5,  6,  1,  13, 14, 0,  11, 3,  8, 9,  14, 15, 5,  2,  8,  12, 3,  7,  0,  4, 10,
     1,  13, 11, 6,  4,  3,  2,  12, 9,  5, 15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0,  8,  13, 3,  12, 9, 7, 5,  10, 6,  1, 13, 0,  11, 7,  4,  9,
     1,  10, 14, 3,  5,  12, 2,  15, 8,  6,  1, 4, 11, 13, 12, 3, 7,  14, 10, 15, 6,  8,
     0,  5,  9,  2,  6,  11, 13, 8,  1,  4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7, 1,  15, 13, 8,  10, 3,
     7,  4,  12, 5,  6,  11, 0,  14, 9,  2,  7,  11, 4,  1,  9,  12, 14, 2,  0,  6,  10, 13,
     15, 3,  5,  8,  2,  1,  14, 7,  4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11},
};

constexpr std::uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                 2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                   10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                   63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                   14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                   26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                   51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr bool RowsArePermutations() {
    for (const auto& box : kS)
        for (int row = 0; row < 4; ++row) {
            unsigned seen = 0;
            for (int c = 0; c < 16; ++c) seen |= 1u << box[row * 16 + c];
            if (seen != 0xFFFF) return false;
        }
    return true;
}
static_assert(RowsArePermutations(), "an S-box row is mistyped");

// Output bit i (from the top) = input bit table[i] of an inBits-wide value.
constexpr u64 Permute(u64 in, int inBits, const std::uint8_t* table, int outBits) {
    u64 out = 0;
    for (int i = 0; i < outBits; ++i) out = (out << 1) | ((in >> (inBits - table[i])) & 1);
    return out;
}

// S-box i followed by P, for every 6-bit input (first input bit highest):
// the round function becomes eight lookups. Each table is indexed by a whole
// byte whose top two bits are ignored, which spares masking the index.
struct SpTables {
    u32 t[8][256];
};
constexpr SpTables MakeSp() {
    SpTables sp{};
    for (int i = 0; i < 8; ++i)
        for (int x = 0; x < 256; ++x) {
            const int row = ((x >> 4) & 2) | (x & 1);
            const int col = (x >> 1) & 15;
            const u64 nibble = u64(kS[i][row * 16 + col]) << (28 - 4 * i);
            sp.t[i][x] = static_cast<u32>(Permute(nibble, 32, kP, 32));
        }
    return sp;
}
alignas(64) constexpr SpTables kSp = MakeSp();

constexpr u32 Rotl(u32 v, int n) { return (v << n) | (v >> (32 - n)); }

// E expansion by rotation: group g holds R bits 4g..4g+5 (from the top,
// cyclic). rotl(R,1) puts groups 7,5,3,1 in bytes 0..3, rotl(R,29) puts
// groups 6,4,2,0 there; round keys are stored in the same layout.
inline u32 F(u32 r, u32 kOdd, u32 kEven) {
    const u32 a = Rotl(r, 1) ^ kOdd;
    const u32 b = Rotl(r, 29) ^ kEven;
    return kSp.t[7][a & 255] ^ kSp.t[5][(a >> 8) & 255] ^ kSp.t[3][(a >> 16) & 255] ^ kSp.t[1][a >> 24] ^
           kSp.t[6][b & 255] ^ kSp.t[4][(b >> 8) & 255] ^ kSp.t[2][(b >> 16) & 255] ^ kSp.t[0][b >> 24];
}

// Sixteen rounds on N independent blocks side by side, so the lookups of
// one block overlap the dependency chain of the others. Leaves (l, r) as
// (L16, R16); the caller swaps them into the pre-output R16 L16.
template <int N>
inline void Rounds(u32* l, u32* r, const RoundKeys& k) {
    for (int i = 0; i < 16; i += 2) {
        for (int j = 0; j < N; ++j) l[j] ^= F(r[j], k.odd[i], k.even[i]);
        for (int j = 0; j < N; ++j) r[j] ^= F(l[j], k.odd[i + 1], k.even[i + 1]);
    }
}

// Moves the bits selected by mask in b and the bits n places higher in a
// into each other's places.
inline void SwapBits(u32& a, u32& b, int n, u32 mask) {
    const u32 t = ((a >> n) ^ b) & mask;
    b ^= t;
    a ^= t << n;
}

// The initial permutation as five exchanges of bit groups between the two
// halves of the block.
inline void InitialPermutation(u32& l, u32& r) {
    SwapBits(l, r, 4, 0x0f0f0f0f);
    SwapBits(l, r, 16, 0x0000ffff);
    SwapBits(r, l, 2, 0x33333333);
    SwapBits(r, l, 8, 0x00ff00ff);
    SwapBits(l, r, 1, 0x55555555);
}

inline void FinalPermutation(u32& l, u32& r) {
    SwapBits(l, r, 1, 0x55555555);
    SwapBits(r, l, 8, 0x00ff00ff);
    SwapBits(r, l, 2, 0x33333333);
    SwapBits(l, r, 16, 0x0000ffff);
    SwapBits(l, r, 4, 0x0f0f0f0f);
}

inline u32 Load32(const std::uint8_t* p) {
    return u32(p[0]) << 24 | u32(p[1]) << 16 | u32(p[2]) << 8 | u32(p[3]);
}
inline void Store32(std::uint8_t* p, u32 v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

void MakeRoundKeys(const std::uint8_t key[8], RoundKeys& enc, RoundKeys& dec) {
    u64 k = 0;
    for (int i = 0; i < 8; ++i) k = (k << 8) | key[i];
    const u64 cd = Permute(k, 64, kPC1, 56);
    u32 c = static_cast<u32>(cd >> 28), d = static_cast<u32>(cd & 0x0fffffff);
    for (int round = 0; round < 16; ++round) {
        const int s = kShifts[round];
        c = ((c << s) | (c >> (28 - s))) & 0x0fffffff;
        d = ((d << s) | (d >> (28 - s))) & 0x0fffffff;
        const u64 sub = Permute((u64(c) << 28) | d, 56, kPC2, 48);
        u32 odd = 0, even = 0;
        for (int g = 0; g < 8; ++g) {
            const u32 six = static_cast<u32>(sub >> (42 - 6 * g)) & 63;
            // Groups 7,5,3,1 (odd) and 6,4,2,0 (even) sit in bytes 0..3.
            if (g & 1)
                odd |= six << (8 * ((7 - g) / 2));
            else
                even |= six << (8 * ((6 - g) / 2));
        }
        enc.odd[round] = dec.odd[15 - round] = odd;
        enc.even[round] = dec.even[15 - round] = even;
    }
}

template <int N>
inline void Load(const std::uint8_t* in, u32* l, u32* r) {
    for (int j = 0; j < N; ++j) {
        l[j] = Load32(in + 8 * j);
        r[j] = Load32(in + 8 * j + 4);
        InitialPermutation(l[j], r[j]);
    }
}

template <int N>
inline void Store(std::uint8_t* out, u32* l, u32* r) {
    for (int j = 0; j < N; ++j) {
        // Pre-output is R16 L16.
        FinalPermutation(r[j], l[j]);
        Store32(out + 8 * j, r[j]);
        Store32(out + 8 * j + 4, l[j]);
    }
}

template <int N>
inline void Swap(u32* l, u32* r) {
    for (int j = 0; j < N; ++j) {
        const u32 t = l[j];
        l[j] = r[j];
        r[j] = t;
    }
}

// Three DES passes with the permutations between them left out: FP then IP
// is the identity, only the halves change places. One loop over the passes
// keeps the round code inlined once, with the halves in registers.
template <int N>
inline void Triple(const std::uint8_t* in, std::uint8_t* out, const RoundKeys* const (&passes)[3]) {
    u32 l[N], r[N];
    Load<N>(in, l, r);
    for (int p = 0; p < 3; ++p) {
        if (p > 0) Swap<N>(l, r);
        Rounds<N>(l, r, *passes[p]);
    }
    Store<N>(out, l, r);
}

void TripleEcb(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks, const RoundKeys& a,
               const RoundKeys& b, const RoundKeys& c) {
    // Four blocks side by side measured fastest: two lose a third, eight
    // run out of registers.
    constexpr int kWide = 4;
    const RoundKeys* const passes[3] = {&a, &b, &c};
    std::size_t i = 0;
    for (; i + kWide <= blocks; i += kWide) Triple<kWide>(in + 8 * i, out + 8 * i, passes);
    for (; i < blocks; ++i) Triple<1>(in + 8 * i, out + 8 * i, passes);
}

}  // namespace

Des::Des(const std::uint8_t key[8]) { MakeRoundKeys(key, enc_, dec_); }

void Des::EncryptBlock(const std::uint8_t in[8], std::uint8_t out[8]) const {
    u32 l, r;
    Load<1>(in, &l, &r);
    Rounds<1>(&l, &r, enc_);
    Store<1>(out, &l, &r);
}

void Des::DecryptBlock(const std::uint8_t in[8], std::uint8_t out[8]) const {
    u32 l, r;
    Load<1>(in, &l, &r);
    Rounds<1>(&l, &r, dec_);
    Store<1>(out, &l, &r);
}

TripleDes2::TripleDes2(const std::uint8_t key[16]) {
    MakeRoundKeys(key, enc1_, dec1_);
    MakeRoundKeys(key + 8, enc2_, dec2_);
}

void TripleDes2::Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const {
    TripleEcb(in, out, blocks, enc1_, dec2_, enc1_);
}

void TripleDes2::Decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const {
    TripleEcb(in, out, blocks, dec1_, enc2_, dec1_);
}

}  // namespace des
