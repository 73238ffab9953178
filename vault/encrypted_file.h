// The encrypted form of a document: a 29-byte header, the content and 1 to 8
// zero bytes, all under two-key triple DES (ECB) with the password's key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
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

// The whole encrypted file for `content`; header.length is set from `size`.
// Empty when the content is too long for the header's 32-bit length.
std::vector<std::uint8_t> BuildEncryptedFile(EncryptedFileHeader header, const std::uint8_t* content,
                                             std::size_t size);

// Streaming: a document of any size is encrypted or decrypted through one
// buffer the caller owns, a multiple of 8 bytes and at least
// kMinPieceBuffer. A reader fills exactly `size` bytes with the next bytes
// of its source; a writer takes the next bytes of the result. Either one
// returning false stops the work at once with false.
using PieceReader = std::function<bool(std::uint8_t* out, std::size_t size)>;
using PieceWriter = std::function<bool(const std::uint8_t* data, std::size_t size)>;
constexpr std::size_t kMinPieceBuffer = 32;

// Reads header.length content bytes and writes the encrypted file, the same
// bytes BuildEncryptedFile makes. The header shifts the content by 29 bytes,
// so a piece of the result holds the tail of one read and the head of the
// next.
bool SealInPieces(const EncryptedFileHeader& header, std::uint8_t* buffer, std::size_t bufferSize,
                  const PieceReader& read, const PieceWriter& write);

enum class OpenStatus {
    kOpened,
    kImpossibleLength,  // not a multiple of 8, or shorter than a header
    kWrongPassword,     // the stored key differs from the password's
    kDamaged,           // right key, but the stated length exceeds the data
};

// The encrypted bytes that hold the header.
constexpr std::size_t kEncryptedHeadSize = 32;

// Checks the first kEncryptedHeadSize bytes of an encrypted file of
// `fileSize` bytes: the length, the password's key and whether the stated
// content fits. `head` is not changed.
OpenStatus CheckEncryptedHeader(const std::uint8_t* head, std::uint64_t fileSize, const PasswordKey& key,
                                EncryptedFileHeader& header);

// For a file whose header CheckEncryptedHeader accepted: reads the encrypted
// file from its start, only as far as the content reaches, and writes the
// header.length content bytes.
bool OpenInPieces(const EncryptedFileHeader& header, std::uint8_t* buffer, std::size_t bufferSize,
                  const PieceReader& read, const PieceWriter& write);

// Decrypts an encrypted file held in `data`. Only when the header checks out
// is `data` decrypted in place: the content is then data[29 .. 29 + length).
// On every other outcome `data` is left untouched.
OpenStatus OpenEncryptedFile(std::uint8_t* data, std::size_t size, const PasswordKey& key,
                             EncryptedFileHeader& header);

}  // namespace vault
