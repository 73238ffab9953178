// Decoding and encoding a large catalog index. The reference run copies the
// same number of bytes, which bounds what any codec of this file can reach.
#include <benchmark/benchmark.h>

#include <cstring>

#include "vault/document_record.h"

namespace {

vault::DocumentRecords BigCatalog(int n) {
    vault::DocumentRecords recs(n);
    for (int i = 0; i < n; ++i) {
        auto& r = recs[i];
        r.name = "document number " + std::to_string(i) + ".txt";
        r.origin = "C:\\Users\\someone\\Documents\\incoming\\" + r.name;
        r.description = i % 4 ? "" : "a short description of what this document is about";
        r.workingFolder = "C:\\Temp";
        r.type = ".txt";
        r.modified = 1'000'000'000u + i;
        r.created = 999'000'000u + i;
        r.size = i;
        if (i % 10 == 0) r.companions = {"picture1.gif", "picture2.jpg"};
    }
    return recs;
}

const arc::Bytes& BigFile() {
    static const arc::Bytes file = vault::EncodeIndex(BigCatalog(100'000));
    return file;
}

void BM_DecodeIndex100k(benchmark::State& state) {
    const auto& file = BigFile();
    for (auto _ : state) {
        vault::DocumentRecords out;
        benchmark::DoNotOptimize(vault::DecodeIndex(file.data(), file.size(), out).ok);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_EncodeIndex100k(benchmark::State& state) {
    const auto recs = BigCatalog(100'000);
    for (auto _ : state) benchmark::DoNotOptimize(vault::EncodeIndex(recs).size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BigFile().size()));
}

void BM_ReferenceCopySameBytes(benchmark::State& state) {
    const auto& file = BigFile();
    for (auto _ : state) {
        arc::Bytes copy(file.size());
        std::memcpy(copy.data(), file.data(), file.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

}  // namespace

BENCHMARK(BM_DecodeIndex100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeIndex100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceCopySameBytes)->Unit(benchmark::kMillisecond);
