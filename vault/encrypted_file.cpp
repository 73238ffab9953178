#include "vault/encrypted_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "vault/des.h"

namespace vault {
namespace {

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// Blocks that hold the whole header.
constexpr std::size_t kHeaderBlocks = (EncryptedFileHeader::kSize + des::kBlockSize - 1) / des::kBlockSize;

}  // namespace

void EncryptedFileHeader::Write(std::uint8_t* out) const {
    std::copy(key.begin(), key.end(), out);
    PutU32(out + 16, length);
    PutU32(out + 20, created);
    PutU32(out + 24, modified);
    out[28] = attributes;
}

EncryptedFileHeader EncryptedFileHeader::Read(const std::uint8_t* in) {
    EncryptedFileHeader h;
    std::copy(in, in + 16, h.key.begin());
    h.length = GetU32(in + 16);
    h.created = GetU32(in + 20);
    h.modified = GetU32(in + 24);
    h.attributes = in[28];
    return h;
}

void SealEncryptedFile(const EncryptedFileHeader& header, std::uint8_t* buffer) {
    const std::size_t total = static_cast<std::size_t>(EncryptedFileSize(header.length));
    header.Write(buffer);
    const std::size_t end = EncryptedFileHeader::kSize + header.length;
    std::memset(buffer + end, 0, total - end);
    des::TripleDes2(header.key.data()).Encrypt(buffer, buffer, total / des::kBlockSize);
}

std::vector<std::uint8_t> BuildEncryptedFile(EncryptedFileHeader header, const std::uint8_t* content,
                                             std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max()) return {};
    header.length = static_cast<std::uint32_t>(size);
    std::vector<std::uint8_t> out(EncryptedFileSize(size));
    if (size) std::memcpy(out.data() + EncryptedFileHeader::kSize, content, size);
    SealEncryptedFile(header, out.data());
    return out;
}

OpenStatus OpenEncryptedFile(std::uint8_t* data, std::size_t size, const PasswordKey& key,
                             EncryptedFileHeader& header) {
    if (size % des::kBlockSize != 0 || size < kHeaderBlocks * des::kBlockSize) return OpenStatus::kImpossibleLength;
    const des::TripleDes2 cipher(key.data());
    // The header is checked on a copy, so a refused file stays as it was.
    std::uint8_t head[kHeaderBlocks * des::kBlockSize];
    cipher.Decrypt(data, head, kHeaderBlocks);
    header = EncryptedFileHeader::Read(head);
    if (header.key != key) return OpenStatus::kWrongPassword;
    if (header.length > size - EncryptedFileHeader::kSize) return OpenStatus::kDamaged;
    std::memcpy(data, head, sizeof head);
    cipher.Decrypt(data + sizeof head, data + sizeof head, size / des::kBlockSize - kHeaderBlocks);
    return OpenStatus::kOpened;
}

}  // namespace vault
