// The encrypted form of a document: a 29-byte header, the content and 1 to 8
// zero bytes, all under two-key triple DES (ECB) with the password's key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vault/password_key.h"

namespace vault {

struct EncryptedFileHeader {
    static constexpr std::size_t kSize = 29;

    PasswordKey key{};            // lets a wrong password be told apart
    std::uint32_t length = 0;     // content bytes before encryption
    std::uint32_t created = 0;    // seconds since 1970-01-01 UTC
    std::uint32_t modified = 0;
    std::uint8_t attributes = 0;  // read-only 0x01, hidden 0x02, system 0x04, archive 0x20

    void Write(std::uint8_t* out) const;
    static EncryptedFileHeader Read(const std::uint8_t* in);
};

// 8 * floor((L + 29) / 8) + 8: always a multiple of 8 and at least 32.
constexpr std::uint64_t EncryptedFileSize(std::uint64_t contentLength) {
    return 8 * ((contentLength + EncryptedFileHeader::kSize) / 8) + 8;
}

// Encrypts a file in a buffer of EncryptedFileSize(header.length) bytes
// whose content already sits at offset 29: writes the header and the zero
// padding, then encrypts the whole buffer in place.
void SealEncryptedFile(const EncryptedFileHeader& header, std::uint8_t* buffer);

// The whole encrypted file for `content`; header.length is set from `size`.
// Empty when the content is too long for the header's 32-bit length.
std::vector<std::uint8_t> BuildEncryptedFile(EncryptedFileHeader header, const std::uint8_t* content,
                                             std::size_t size);

enum class OpenStatus {
    kOpened,
    kImpossibleLength,  // not a multiple of 8, or shorter than a header
    kWrongPassword,     // the stored key differs from the password's
    kDamaged,           // right key, but the stated length exceeds the data
};

// Decrypts an encrypted file held in `data`. Only when the header checks out
// is `data` decrypted in place: the content is then data[29 .. 29 + length).
// On every other outcome `data` is left untouched.
OpenStatus OpenEncryptedFile(std::uint8_t* data, std::size_t size, const PasswordKey& key,
                             EncryptedFileHeader& header);

}  // namespace vault
