// Encrypt/Decrypt on a real file against the bare cipher over the same
// number of bytes in memory; scripts/bench-encryption.sh runs it beside
// openssl on the same file and prints the ratios.
//
// encryption_bench command FILE   EncryptFile then DecryptFile on FILE:
//                                 seconds of each, peak working set, and
//                                 whether FILE came back byte for byte
// encryption_bench cipher BYTES   the cipher alone, encrypt then decrypt of
//                                 BYTES in a buffer of the command's piece size
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ui_port.h"
#include "common/win/handle.h"
#include "vault/des.h"
#include "vault/file_encryption.h"
#include "vault/password_key.h"

namespace {

constexpr char kPassword[] = "bench password";
constexpr std::size_t kPiece = 4 << 20;

class SilentUi : public UiPort {
public:
    void AddMessage(const std::string& text) override { std::fprintf(stderr, "%s", text.c_str()); }
    int Ask(const std::string& text, UINT, const std::string&) override {
        std::fprintf(stderr, "box: %s\n", text.c_str());
        return IDOK;
    }
    void Beep() override {}
    bool BrowseForFolder(const std::string&, std::string&) override { return false; }
    bool AskPassword(std::string&) override { return false; }
    void OpenDocument(const std::string&, const std::string&) override {}
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// A fingerprint of the whole file (FNV-1a), read through a small buffer so
// that it does not hide what the command allocates.
bool Fingerprint(const std::string& path, std::uint64_t& hash) {
    win::File file = win::File::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file.valid()) return false;
    std::vector<std::uint8_t> buf(64 << 10);
    hash = 1469598103934665603ull;
    for (;;) {
        std::size_t got = 0;
        if (!file.Read(buf.data(), buf.size(), got)) return false;
        if (got == 0) return true;
        for (std::size_t i = 0; i < got; ++i) hash = (hash ^ buf[i]) * 1099511628211ull;
    }
}

std::uint64_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

int Command(const std::string& path) {
    std::uint64_t before = 0, after = 0;
    if (!Fingerprint(path, before)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::uint64_t baseline = PeakWorkingSet();
    SilentUi ui;
    auto t = Clock::now();
    if (!vault::EncryptFile(path, kPassword, ui)) return 1;
    const double encrypt = SecondsSince(t);
    t = Clock::now();
    if (!vault::DecryptFile(path, kPassword, ui)) return 1;
    const double decrypt = SecondsSince(t);
    const std::uint64_t peak = PeakWorkingSet();
    const bool same = Fingerprint(path, after) && after == before;
    std::printf("command_encrypt_seconds %.3f\n", encrypt);
    std::printf("command_decrypt_seconds %.3f\n", decrypt);
    std::printf("peak_working_set_bytes %llu\n", static_cast<unsigned long long>(peak));
    std::printf("peak_growth_bytes %llu\n", static_cast<unsigned long long>(peak - baseline));
    std::printf("round_trip %s\n", same ? "identical" : "DIFFERENT");
    return same ? 0 : 1;
}

int Cipher(std::uint64_t bytes) {
    const auto key = vault::DerivePasswordKey(kPassword);
    const des::TripleDes2 cipher(key.data());
    std::vector<std::uint8_t> buf(kPiece, 0x5A);
    auto t = Clock::now();
    for (std::uint64_t done = 0; done < bytes; done += buf.size())
        cipher.Encrypt(buf.data(), buf.data(), buf.size() / des::kBlockSize);
    const double encrypt = SecondsSince(t);
    t = Clock::now();
    for (std::uint64_t done = 0; done < bytes; done += buf.size())
        cipher.Decrypt(buf.data(), buf.data(), buf.size() / des::kBlockSize);
    const double decrypt = SecondsSince(t);
    std::printf("cipher_encrypt_seconds %.3f\n", encrypt);
    std::printf("cipher_decrypt_seconds %.3f\n", decrypt);
    std::printf("cipher_check %u\n", buf[0]);  // keeps the work from being dropped
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "command") return Command(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "cipher") return Cipher(std::strtoull(argv[2], nullptr, 10));
    std::fprintf(stderr, "usage: encryption_bench command FILE | cipher BYTES\n");
    return 2;
}
