#include "vault/password_key.h"

#include <algorithm>
#include <cstddef>

#include "vault/des.h"

namespace vault {

const PasswordKey kSeedKey = {0x5A, 0x0C, 0xE3, 0x71, 0x9B, 0x24, 0xD8, 0x46,
                              0xA1, 0x7F, 0x30, 0xC2, 0x6E, 0x95, 0x0B, 0xF8};

namespace {

void ExchangeMiddle(PasswordKey& x) { std::swap_ranges(x.begin() + 4, x.begin() + 8, x.begin() + 8); }

}  // namespace

PasswordKey DoubleBlockStep(const PasswordKey& key, const PasswordKey& block) {
    const des::Des k1(key.data());
    const des::Des k2(key.data() + 8);
    PasswordKey x = block;
    std::uint8_t* a = x.data();
    std::uint8_t* b = x.data() + 8;
    k1.EncryptBlock(a, a);
    k1.EncryptBlock(b, b);
    ExchangeMiddle(x);
    k2.DecryptBlock(a, a);
    k2.DecryptBlock(b, b);
    ExchangeMiddle(x);
    k1.EncryptBlock(a, a);
    k1.EncryptBlock(b, b);
    return x;
}

PasswordKey DerivePasswordKey(std::string_view password) {
    PasswordKey x = kSeedKey;
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(16, password.size() - pos);
        for (std::size_t i = 0; i < n; ++i) x[i] ^= static_cast<std::uint8_t>(password[pos + i]) & 0x7F;
        pos += n;
        x = DoubleBlockStep(kSeedKey, x);
    } while (pos < password.size());
    return x;
}

}  // namespace vault
