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
constexpr std::size_t kHeaderBlocks = kEncryptedHeadSize / des::kBlockSize;
static_assert(kHeaderBlocks * des::kBlockSize >= EncryptedFileHeader::kSize &&
              (kHeaderBlocks - 1) * des::kBlockSize < EncryptedFileHeader::kSize);

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

std::vector<std::uint8_t> BuildEncryptedFile(EncryptedFileHeader header, const std::uint8_t* content,
                                             std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max()) return {};
    header.length = static_cast<std::uint32_t>(size);
    const std::size_t total = static_cast<std::size_t>(EncryptedFileSize(size));
    std::vector<std::uint8_t> out(total, 0);
    header.Write(out.data());
    if (size) std::memcpy(out.data() + EncryptedFileHeader::kSize, content, size);
    des::TripleDes2(header.key.data()).Encrypt(out.data(), out.data(), total / des::kBlockSize);
    return out;
}

bool SealInPieces(const EncryptedFileHeader& header, std::uint8_t* buffer, std::size_t bufferSize,
                  const PieceReader& read, const PieceWriter& write) {
    if (bufferSize < kMinPieceBuffer || bufferSize % des::kBlockSize != 0) return false;
    const des::TripleDes2 cipher(header.key.data());
    const std::uint64_t total = EncryptedFileSize(header.length);
    std::uint64_t remaining = header.length;  // content still to read
    std::uint64_t produced = 0;               // encrypted bytes written
    header.Write(buffer);
    std::size_t filled = EncryptedFileHeader::kSize;
    while (produced < total) {
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(bufferSize - filled, remaining));
        if (take && !read(buffer + filled, take)) return false;
        filled += take;
        remaining -= take;
        // Once the content is in, zeros up to the total (or the buffer's end;
        // the rest of the padding goes into the next piece).
        if (remaining == 0) {
            const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(bufferSize, total - produced));
            std::memset(buffer + filled, 0, end - filled);
            filled = end;
        }
        // A full buffer or the end of the file: a whole number of blocks.
        cipher.Encrypt(buffer, buffer, filled / des::kBlockSize);
        if (!write(buffer, filled)) return false;
        produced += filled;
        filled = 0;
    }
    return true;
}

OpenStatus CheckEncryptedHeader(const std::uint8_t* head, std::uint64_t fileSize, const PasswordKey& key,
                                EncryptedFileHeader& header) {
    if (fileSize % des::kBlockSize != 0 || fileSize < kHeaderBlocks * des::kBlockSize)
        return OpenStatus::kImpossibleLength;
    std::uint8_t plain[kHeaderBlocks * des::kBlockSize];
    des::TripleDes2(key.data()).Decrypt(head, plain, kHeaderBlocks);
    header = EncryptedFileHeader::Read(plain);
    if (header.key != key) return OpenStatus::kWrongPassword;
    if (header.length > fileSize - EncryptedFileHeader::kSize) return OpenStatus::kDamaged;
    return OpenStatus::kOpened;
}

bool OpenInPieces(const EncryptedFileHeader& header, std::uint8_t* buffer, std::size_t bufferSize,
                  const PieceReader& read, const PieceWriter& write) {
    if (bufferSize < kMinPieceBuffer || bufferSize % des::kBlockSize != 0) return false;
    const des::TripleDes2 cipher(header.key.data());
    const std::uint64_t contentStart = EncryptedFileHeader::kSize;
    const std::uint64_t contentEnd = contentStart + header.length;
    // The blocks up to the one that holds the last content byte; the
    // padding after them is never read.
    const std::uint64_t needed = (contentEnd + des::kBlockSize - 1) / des::kBlockSize * des::kBlockSize;
    for (std::uint64_t at = 0; at < needed;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bufferSize, needed - at));
        if (!read(buffer, n)) return false;
        cipher.Decrypt(buffer, buffer, n / des::kBlockSize);
        const std::uint64_t from = std::max(at, contentStart);
        const std::uint64_t to = std::min(at + n, contentEnd);
        if (from < to && !write(buffer + (from - at), static_cast<std::size_t>(to - from))) return false;
        at += n;
    }
    return true;
}

OpenStatus OpenEncryptedFile(std::uint8_t* data, std::size_t size, const PasswordKey& key,
                             EncryptedFileHeader& header) {
    if (size < kEncryptedHeadSize) return OpenStatus::kImpossibleLength;
    // The header is checked first, so a refused file stays as it was.
    const OpenStatus status = CheckEncryptedHeader(data, size, key, header);
    if (status != OpenStatus::kOpened) return status;
    des::TripleDes2(key.data()).Decrypt(data, data, size / des::kBlockSize);
    return OpenStatus::kOpened;
}

}  // namespace vault
