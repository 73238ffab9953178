// Byte helpers for the core tests: hex in and out, reproducible sample data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testbytes {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(const std::string& hex) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

inline std::string ToHex(const std::uint8_t* p, std::size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

template <class C>
std::string ToHex(const C& c) {
    return ToHex(c.data(), c.size());
}

// The usual 32-bit LCG from seed 1, one byte (bits 16-23) per step.
inline Bytes Sample(std::size_t n) {
    Bytes b(n);
    std::uint32_t x = 1;
    for (auto& c : b) {
        x = x * 1103515245u + 12345u;
        c = static_cast<std::uint8_t>(x >> 16);
    }
    return b;
}

}  // namespace testbytes
