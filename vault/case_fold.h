// What "regardless of letter case" means for the 8-bit texts of the vault:
// a table that maps every byte to its lower-case form. The table of the
// system's code page comes from the platform (SystemCaseFold); the ASCII
// one serves where none is given.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vault {

using CaseFold = std::array<std::uint8_t, 256>;

const CaseFold& AsciiCaseFold();
std::string Folded(std::string_view text, const CaseFold& fold);

}  // namespace vault
