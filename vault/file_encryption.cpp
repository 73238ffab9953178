#include "vault/file_encryption.h"

#include <cstdint>
#include <limits>
#include <new>
#include <utility>

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

// No sharing: nobody changes or deletes the file while it is read and its
// new form is made. A read-only file is refused here even where the
// platform would let its owner write to it anyway.
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

// A few MiB: large enough that the cipher, not the calls, sets the pace;
// small enough that a document of any size costs that much memory.
constexpr std::size_t kPieceSize = 4 << 20;

PieceWriteHook& WriteHook() {
    static PieceWriteHook hook;
    return hook;
}

std::vector<std::uint8_t> AllocatePiece() {
    try {
        return std::vector<std::uint8_t>(kPieceSize);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// The new form of a document is written to a file beside it and takes the
// document's place only when complete, so a failure on the way leaves the
// document as it was. Until committed the file is removed on destruction.
class Replacement {
public:
    Replacement() = default;
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;
    ~Replacement() { Discard(); }

    // Beside the document (same volume, so the final step is a rename),
    // `size` bytes claimed at once so that a full disk shows before the work.
    bool Create(const std::string& document, std::uint64_t size) {
        std::string folder = paths::FolderPart(document);
        if (folder.empty()) folder = ".";
        char name[MAX_PATH];
        if (!GetTempFileNameA(folder.c_str(), "~ar", 0, name)) return false;
        path_ = name;
        file_ = win::File::Open(path_, GENERIC_WRITE, 0, OPEN_EXISTING);
        return file_.valid() && file_.Resize(size) && file_.Seek(0);
    }
    bool Write(const std::uint8_t* data, std::size_t size) {
        const PieceWriteHook& hook = WriteHook();
        if (hook && !hook(written_)) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        if (!file_.Write(data, size)) return false;
        written_ += size;
        return true;
    }
    HANDLE handle() const { return file_.get(); }
    // Removes the unfinished file now (before the user is told).
    void Discard() {
        file_.Close();
        if (!path_.empty()) DeleteFileA(path_.c_str());
        path_.clear();
    }
    // Puts the new file in the document's place. The document's own handle
    // must be closed first.
    bool Commit(const std::string& document) {
        file_.Close();
        if (!MoveFileExA(path_.c_str(), document.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
        path_.clear();
        return true;
    }

private:
    std::string path_;
    win::File file_;
    std::uint64_t written_ = 0;
};

// One direction of the cipher: reads the document's bytes through `read`
// and writes its new form through `write`, using `piece` as its buffer.
using Transform = std::function<bool(std::vector<std::uint8_t>& piece, const PieceReader& read,
                                     const PieceWriter& write)>;

// Streams the open document `file` through `transform` into a replacement
// of `newSize` bytes beside it, gives that the times (null: the time of the
// write) and puts it in the document's place. Any failure is shown and
// leaves the document as it was. `file` is closed on success.
bool Rewrite(win::File& file, const std::string& document, std::uint64_t newSize, const FILETIME* created,
             const FILETIME* modified, const Transform& transform, UiPort& ui) {
    std::vector<std::uint8_t> piece = AllocatePiece();
    if (piece.empty()) {
        ui.ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    Replacement replacement;
    DWORD error = ERROR_SUCCESS;
    const PieceReader read = [&file, &error, at = std::uint64_t{0}](std::uint8_t* out, std::size_t size) mutable {
        if (!file.ReadAt(at, out, size)) {
            error = GetLastError();
            return false;
        }
        at += size;
        return true;
    };
    const PieceWriter write = [&replacement, &error](const std::uint8_t* data, std::size_t size) {
        if (replacement.Write(data, size)) return true;
        error = GetLastError();
        return false;
    };
    bool done = replacement.Create(document, newSize);
    if (!done) error = GetLastError();
    done = done && transform(piece, read, write);
    if (done) {
        SetFileTime(replacement.handle(), created, nullptr, modified);
        file.Close();
        done = replacement.Commit(document);
        if (!done) error = GetLastError();
    }
    if (!done) {
        replacement.Discard();  // before the user is told
        ui.ShowSystemError(error);
    }
    return done;
}

}  // namespace

void SetPieceWriteHook(PieceWriteHook hook) { WriteHook() = std::move(hook); }

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

    // As if written in place: the document keeps its creation time and
    // attributes and takes the time of this write.
    const std::string document = FullPath(path);
    const auto seal = [&](std::vector<std::uint8_t>& piece, const PieceReader& read, const PieceWriter& write) {
        return SealInPieces(header, piece.data(), piece.size(), read, write);
    };
    if (!Rewrite(file, document, EncryptedFileSize(length), &info.ftCreationTime, nullptr, seal, ui)) return false;
    SetFileAttributesA(document.c_str(), (info.dwFileAttributes & kRestorableAttributes) | FILE_ATTRIBUTE_ARCHIVE);
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
    std::uint8_t head[kEncryptedHeadSize];
    if (!file.ReadAt(0, head, sizeof head)) {
        ui.ShowSystemError(GetLastError());
        return false;
    }
    EncryptedFileHeader header;
    switch (CheckEncryptedHeader(head, size, key, header)) {
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

    const std::string document = FullPath(path);
    const FILETIME created = win::FileTimeFromUnixTime(header.created);
    const FILETIME modified = win::FileTimeFromUnixTime(header.modified);
    const auto open = [&](std::vector<std::uint8_t>& piece, const PieceReader& read, const PieceWriter& write) {
        return OpenInPieces(header, piece.data(), piece.size(), read, write);
    };
    if (!Rewrite(file, document, header.length, &created, &modified, open, ui)) return false;
    // The content is plain again from here on; an attribute that cannot be
    // set back does not make the document encrypted.
    const DWORD attributes = header.attributes & kRestorableAttributes;
    SetFileAttributesA(document.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
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
