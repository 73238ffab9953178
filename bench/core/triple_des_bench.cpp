// Two-key triple-DES ECB throughput over one buffer; compared against
// openssl by scripts/bench-des.sh.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "vault/des.h"
#include "vault/password_key.h"

static void TripleDes2Ecb(benchmark::State& state) {
    const auto key = vault::DerivePasswordKey("benchmark");
    const des::TripleDes2 cipher(key.data());
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(state.range(0)), 0x5A);
    for (auto _ : state) {
        cipher.Encrypt(buf.data(), buf.data(), buf.size() / 8);
        benchmark::DoNotOptimize(buf.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(TripleDes2Ecb)->Arg(16384)->Arg(1 << 20);

static void DerivePasswordKey(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(vault::DerivePasswordKey("a password of medium size"));
}
BENCHMARK(DerivePasswordKey);
