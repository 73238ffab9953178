// Opens arbitrary bytes as an encrypted file. The first byte picks the mode
// and the password length; in the second mode the rest is taken as plaintext
// whose first 16 bytes are replaced by the password's key, so the checks
// behind the key comparison (the stated length) are reached too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vault/des.h"
#include "vault/encrypted_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool keyed = data[0] & 0x80;
    std::size_t pwLen = data[0] & 0x3F;
    ++data;
    --size;
    if (pwLen > size) pwLen = size;
    const std::string password(reinterpret_cast<const char*>(data), pwLen);
    std::vector<std::uint8_t> file(data + pwLen, data + size);
    const auto key = vault::DerivePasswordKey(password);
    if (keyed && file.size() >= 16 && file.size() % 8 == 0) {
        std::copy(key.begin(), key.end(), file.begin());
        des::TripleDes2(key.data()).Encrypt(file.data(), file.data(), file.size() / 8);
    }
    vault::EncryptedFileHeader header;
    const std::vector<std::uint8_t> before = file;
    const auto status = vault::OpenEncryptedFile(file.data(), file.size(), key, header);
    if (status == vault::OpenStatus::kOpened) {
        if (header.length > file.size() - vault::EncryptedFileHeader::kSize) __builtin_trap();
        volatile std::uint8_t sink = 0;
        for (std::size_t i = 0; i < header.length; ++i) sink = sink ^ file[29 + i];
    } else if (file != before) {
        __builtin_trap();  // a refused file must stay as it was
    }
    return 0;
}
