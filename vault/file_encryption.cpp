#include "vault/file_encryption.h"

#include <cstdint>
#include <limits>
#include <new>

#include "common/paths.h"
#include "shell/window.h"
#include "vault/des.h"
#include "vault/encrypted_file.h"

namespace vault {
namespace {

constexpr UINT kInvalidPasswordText = 142;
constexpr UINT kNoFileSelectedText = 148;
// Attribute bits SetFileAttributes can give back.
constexpr DWORD kRestorableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE h) : h_(h) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    void Close() {
        if (valid()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

// No sharing: nobody changes or deletes the file while it is rewritten. A
// read-only file is refused here even where the platform would let its
// owner write to it anyway.
HANDLE OpenExclusive(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;  // 1970-01-01 in FILETIME ticks

std::uint32_t ToUnixSeconds(const FILETIME& ft) {
    const std::uint64_t ticks = (std::uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (ticks < kUnixEpochTicks) return 0;
    const std::uint64_t s = (ticks - kUnixEpochTicks) / kTicksPerSecond;
    return s > std::numeric_limits<std::uint32_t>::max() ? std::numeric_limits<std::uint32_t>::max()
                                                         : static_cast<std::uint32_t>(s);
}

FILETIME FromUnixSeconds(std::uint32_t s) {
    const std::uint64_t ticks = kUnixEpochTicks + std::uint64_t(s) * kTicksPerSecond;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

bool SeekTo(HANDLE h, std::uint64_t pos) {
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(pos);
    return SetFilePointerEx(h, li, nullptr, FILE_BEGIN) != 0;
}

bool ResizeTo(HANDLE h, std::uint64_t size) { return SeekTo(h, size) && SetEndOfFile(h); }

// ReadFile and WriteFile take at most 4 GB minus one at a time.
constexpr DWORD kChunk = 1u << 30;

bool ReadAt0(HANDLE h, std::uint8_t* buf, std::size_t n) {
    if (!SeekTo(h, 0)) return false;
    while (n > 0) {
        const DWORD want = n > kChunk ? kChunk : static_cast<DWORD>(n);
        DWORD got = 0;
        if (!ReadFile(h, buf, want, &got, nullptr)) return false;
        if (got == 0) {
            SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        buf += got;
        n -= got;
    }
    return true;
}

bool WriteAt0(HANDLE h, const std::uint8_t* buf, std::size_t n) {
    if (!SeekTo(h, 0)) return false;
    while (n > 0) {
        const DWORD want = n > kChunk ? kChunk : static_cast<DWORD>(n);
        DWORD put = 0;
        if (!WriteFile(h, buf, want, &put, nullptr)) return false;
        if (put == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        buf += put;
        n -= put;
    }
    return true;
}

// Puts `value` where the template has "%s" (without printf, so a "%" in a
// path stays as it is).
std::string Substitute(std::string text, const std::string& value) {
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

std::string FullPath(const std::string& path) {
    char buf[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}

std::vector<std::uint8_t> Allocate(std::uint64_t size) {
    try {
        return std::vector<std::uint8_t>(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace

bool EncryptFile(const std::string& path, const std::string& password, UiPort& ui) {
    const PasswordKey key = DerivePasswordKey(password);
    OwnedHandle file(OpenExclusive(path));
    if (!file.valid()) return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) return false;
    const std::uint64_t length = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    // The header keeps the length in 32 bits.
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        ui.ShowSystemError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    EncryptedFileHeader header;
    header.key = key;
    header.length = static_cast<std::uint32_t>(length);
    header.created = ToUnixSeconds(info.ftCreationTime);
    header.modified = ToUnixSeconds(info.ftLastWriteTime);
    header.attributes = static_cast<std::uint8_t>(info.dwFileAttributes & 0xFF);

    const std::uint64_t total = EncryptedFileSize(length);
    std::vector<std::uint8_t> buf = Allocate(total);
    if (buf.size() != total) {
        ui.ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (!ReadAt0(file.get(), buf.data() + EncryptedFileHeader::kSize, header.length)) {
        ui.ShowSystemError(GetLastError());
        return false;
    }
    SealEncryptedFile(header, buf.data());

    // Claim the larger size first: a full disk is found before any byte of
    // the document is overwritten.
    if (!ResizeTo(file.get(), total)) {
        const DWORD err = GetLastError();
        ResizeTo(file.get(), length);
        SetFileTime(file.get(), nullptr, nullptr, &info.ftLastWriteTime);
        ui.ShowSystemError(err);
        return false;
    }
    if (!WriteAt0(file.get(), buf.data(), buf.size())) {
        // Put the plain content back rather than leave a half-encrypted file.
        const DWORD err = GetLastError();
        des::TripleDes2(key.data()).Decrypt(buf.data(), buf.data(), buf.size() / des::kBlockSize);
        WriteAt0(file.get(), buf.data() + EncryptedFileHeader::kSize, header.length);
        ResizeTo(file.get(), length);
        SetFileTime(file.get(), nullptr, nullptr, &info.ftLastWriteTime);
        ui.ShowSystemError(err);
        return false;
    }
    return true;
}

bool DecryptFile(const std::string& path, const std::string& password, UiPort& ui) {
    const PasswordKey key = DerivePasswordKey(password);
    OwnedHandle file(OpenExclusive(path));
    if (!file.valid()) return false;
    LARGE_INTEGER sizeLi;
    if (!GetFileSizeEx(file.get(), &sizeLi)) return false;
    const std::uint64_t size = static_cast<std::uint64_t>(sizeLi.QuadPart);
    if (size % des::kBlockSize != 0 || size < EncryptedFileHeader::kSize ||
        size > EncryptedFileSize(std::numeric_limits<std::uint32_t>::max()))
        return false;
    std::vector<std::uint8_t> buf = Allocate(size);
    if (buf.size() != size) {
        ui.ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (!ReadAt0(file.get(), buf.data(), buf.size())) {
        ui.ShowSystemError(GetLastError());
        return false;
    }
    EncryptedFileHeader header;
    switch (OpenEncryptedFile(buf.data(), buf.size(), key, header)) {
        case OpenStatus::kOpened:
            break;
        case OpenStatus::kWrongPassword:
            ui.Ask(Substitute(LoadResString(kInvalidPasswordText), FullPath(path)), MB_OK | MB_ICONEXCLAMATION);
            return false;
        case OpenStatus::kDamaged:
            ui.Ask("The encrypted file " + FullPath(path) + " is damaged and can not be decoded.",
                   MB_OK | MB_ICONEXCLAMATION);
            return false;
        default:
            return false;
    }

    if (!WriteAt0(file.get(), buf.data() + EncryptedFileHeader::kSize, header.length) ||
        !ResizeTo(file.get(), header.length)) {
        // Put the encrypted form back rather than leave a half-decrypted file.
        const DWORD err = GetLastError();
        des::TripleDes2(key.data()).Encrypt(buf.data(), buf.data(), buf.size() / des::kBlockSize);
        WriteAt0(file.get(), buf.data(), buf.size());
        ResizeTo(file.get(), size);
        ui.ShowSystemError(err);
        return false;
    }
    // The content is plain again from here on; a time or attribute that
    // cannot be set back does not make the document encrypted.
    const FILETIME created = FromUnixSeconds(header.created);
    const FILETIME modified = FromUnixSeconds(header.modified);
    SetFileTime(file.get(), &created, nullptr, &modified);
    file.Close();
    const DWORD attributes = header.attributes & kRestorableAttributes;
    SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
    return true;
}

int ToggleEncryption(const std::string& catalogPath, const std::vector<std::string>& names,
                     std::vector<int>& encoded, const std::string& password, UiPort& ui) {
    int changed = 0;
    for (std::size_t i = 0; i < names.size() && i < encoded.size(); ++i) {
        const std::string path = paths::Join(catalogPath, names[i]);
        if (encoded[i] == 1) {
            if (!DecryptFile(path, password, ui)) continue;
            encoded[i] = 0;
        } else {
            if (!EncryptFile(path, password, ui)) continue;
            encoded[i] = 1;
        }
        ++changed;
    }
    return changed;
}

int EncryptDecryptCommand(const std::string& catalogPath, const std::vector<std::string>& names,
                          std::vector<int>& encoded, UiPort& ui) {
    if (names.empty()) {
        ui.AddMessage(LoadResString(kNoFileSelectedText));
        return 0;
    }
    std::string password;
    if (!ui.AskPassword(password)) return 0;
    return ToggleEncryption(catalogPath, names, encoded, password, ui);
}

}  // namespace vault
