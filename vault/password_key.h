// Turning a typed password into the 16-byte two-key triple-DES key of an
// encrypted document.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace vault {

using PasswordKey = std::array<std::uint8_t, 16>;

// Built into the program; changing it makes every encrypted document unreadable.
extern const PasswordKey kSeedKey;

// The double-block step: both halves through E_K1, bytes 4-7 of the first
// half exchanged with bytes 0-3 of the second, both through D_K2, the same
// exchange again, both through E_K1.
PasswordKey DoubleBlockStep(const PasswordKey& key, const PasswordKey& block);

// Only the low seven bits of each character count, so a password typed in
// another code page with the same letters still opens the document.
PasswordKey DerivePasswordKey(std::string_view password);

}  // namespace vault
