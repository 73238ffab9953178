#include "vault/file_encryption.h"

#include <cstdint>
#include <limits>
#include <new>

#include "common/paths.h"
#include "common/resources.h"
#include "common/win/file_system.h"
#include "common/win/handle.h"
#include "res/resource.h"
#include "vault/des.h"
#include "vault/encrypted_file.h"

namespace vault {
namespace {

// Attribute bits SetFileAttributes can give back.
constexpr DWORD kRestorableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// No sharing: nobody changes or deletes the file while it is rewritten. A
// read-only file is refused here even where the platform would let its
// owner write to it anyway.
win::File OpenExclusive(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return win::File();
    return win::File::Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
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
    win::File file = OpenExclusive(path);
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
    header.created = win::UnixTimeFromFileTime(info.ftCreationTime);
    header.modified = win::UnixTimeFromFileTime(info.ftLastWriteTime);
    header.attributes = static_cast<std::uint8_t>(info.dwFileAttributes & 0xFF);

    const std::uint64_t total = EncryptedFileSize(length);
    std::vector<std::uint8_t> buf = Allocate(total);
    if (buf.size() != total) {
        ui.ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (!file.ReadAt(0, buf.data() + EncryptedFileHeader::kSize, header.length)) {
        ui.ShowSystemError(GetLastError());
        return false;
    }
    SealEncryptedFile(header, buf.data());

    // Claim the larger size first: a full disk is found before any byte of
    // the document is overwritten.
    if (!file.Resize(total)) {
        const DWORD err = GetLastError();
        file.Resize(length);
        SetFileTime(file.get(), nullptr, nullptr, &info.ftLastWriteTime);
        ui.ShowSystemError(err);
        return false;
    }
    if (!file.WriteAt(0, buf.data(), buf.size())) {
        // Put the plain content back rather than leave a half-encrypted file.
        const DWORD err = GetLastError();
        des::TripleDes2(key.data()).Decrypt(buf.data(), buf.data(), buf.size() / des::kBlockSize);
        file.WriteAt(0, buf.data() + EncryptedFileHeader::kSize, header.length);
        file.Resize(length);
        SetFileTime(file.get(), nullptr, nullptr, &info.ftLastWriteTime);
        ui.ShowSystemError(err);
        return false;
    }
    return true;
}

bool DecryptFile(const std::string& path, const std::string& password, UiPort& ui) {
    const PasswordKey key = DerivePasswordKey(password);
    win::File file = OpenExclusive(path);
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
    if (!file.ReadAt(0, buf.data(), buf.size())) {
        ui.ShowSystemError(GetLastError());
        return false;
    }
    EncryptedFileHeader header;
    switch (OpenEncryptedFile(buf.data(), buf.size(), key, header)) {
        case OpenStatus::kOpened:
            break;
        case OpenStatus::kWrongPassword:
            ui.Ask(Substitute(LoadResString(IDS_INVALID_PASSWORD), FullPath(path)), MB_OK | MB_ICONEXCLAMATION);
            return false;
        case OpenStatus::kDamaged:
            ui.Ask("The encrypted file " + FullPath(path) + " is damaged and can not be decoded.",
                   MB_OK | MB_ICONEXCLAMATION);
            return false;
        default:
            return false;
    }

    if (!file.WriteAt(0, buf.data() + EncryptedFileHeader::kSize, header.length) ||
        !file.Resize(header.length)) {
        // Put the encrypted form back rather than leave a half-decrypted file.
        const DWORD err = GetLastError();
        des::TripleDes2(key.data()).Encrypt(buf.data(), buf.data(), buf.size() / des::kBlockSize);
        file.WriteAt(0, buf.data(), buf.size());
        file.Resize(size);
        ui.ShowSystemError(err);
        return false;
    }
    // The content is plain again from here on; a time or attribute that
    // cannot be set back does not make the document encrypted.
    const FILETIME created = win::FileTimeFromUnixTime(header.created);
    const FILETIME modified = win::FileTimeFromUnixTime(header.modified);
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
        ui.AddMessage(LoadResString(IDS_NO_FILE_SELECTED));
        return 0;
    }
    std::string password;
    if (!ui.AskPassword(password)) return 0;
    return ToggleEncryption(catalogPath, names, encoded, password, ui);
}

}  // namespace vault
