#include "common/win/handle.h"
#include "vault/file_encryption.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include "tests/support/test_env.h"
#include "vault/des.h"
#include "vault/encrypted_file.h"

namespace {

struct FileState {
    std::string bytes;
    FILETIME created{}, modified{};
    DWORD attributes = 0;
};

FileState StateOf(const std::string& path) {
    FileState s;
    s.bytes = ReadFileBytes(path);
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
    s.created = d.ftCreationTime;
    s.modified = d.ftLastWriteTime;
    s.attributes = d.dwFileAttributes;
    return s;
}

std::uint64_t Ticks(const FILETIME& ft) { return (std::uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

// Whole seconds: the encrypted header keeps seconds.
FILETIME At(std::uint64_t unixSeconds) {
    const std::uint64_t t = 116444736000000000ull + unixSeconds * 10000000ull;
    return {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
}

void SetTimes(const std::string& path, const FILETIME& created, const FILETIME& modified) {
    win::File file = win::File::Open(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    ASSERT_TRUE(file.valid());
    SetFileTime(file.get(), &created, nullptr, &modified);
}

// Some platforms report the last-write time as the creation time.
bool PlatformKeepsCreationTime(const TempDir& dir) {
    const std::string probe = dir / "probe";
    WriteFileBytes(probe, "x");
    SetTimes(probe, At(1000000000), At(1200000000));
    const bool keeps = Ticks(StateOf(probe).created) == Ticks(At(1000000000));
    DeleteFileA(probe.c_str());
    return keeps;
}

// Bytes [at, at + n) of a fixed pattern.
std::string Fill(std::size_t n, std::size_t at = 0) {
    std::string s(n, '\0');
    for (std::size_t i = at; i < at + n; ++i) s[i - at] = static_cast<char>(i * 37 + i / 251);
    return s;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(d.cFileName);
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return names;
}

std::uint64_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

// Makes the piece writes of the new file fail from the `n`th on.
struct FailingWrites {
    explicit FailingWrites(int n) {
        vault::SetPieceWriteHook([this, n](std::uint64_t) { return ++writes < n; });
    }
    ~FailingWrites() { vault::SetPieceWriteHook({}); }
    int writes = 0;
};

}  // namespace

TEST(FileEncryption, EncryptedSizesAndRoundTripOfSmallFiles) {
    TempDir dir;
    RecordingUi ui;
    for (auto [len, size] : {std::pair{0u, 32u}, {3u, 40u}, {4u, 40u}, {11u, 48u}}) {
        const std::string path = dir / ("f" + std::to_string(len));
        const std::string content = Fill(len);
        WriteFileBytes(path, content);
        ASSERT_TRUE(vault::EncryptFile(path, "pw", ui)) << len;
        EXPECT_EQ(ReadFileBytes(path).size(), size) << len;
        ASSERT_TRUE(vault::DecryptFile(path, "pw", ui)) << len;
        EXPECT_EQ(ReadFileBytes(path), content) << len;
    }
    EXPECT_TRUE(ui.asked.empty());
}

TEST(FileEncryption, DecryptRestoresContentTimesAndAttributeByte) {
    TempDir dir;
    RecordingUi ui;
    const std::string path = dir / "report.doc";
    const std::string content = Fill(70001);
    WriteFileBytes(path, content);
    SetTimes(path, At(981158400), At(1015000000));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const FileState before = StateOf(path);

    ASSERT_TRUE(vault::EncryptFile(path, "a long password with more than sixteen characters", ui));
    const FileState encrypted = StateOf(path);
    EXPECT_EQ(encrypted.bytes.size(), vault::EncryptedFileSize(content.size()));
    EXPECT_EQ(encrypted.bytes.find(content.substr(0, 64)), std::string::npos);
    EXPECT_NE(Ticks(encrypted.modified), Ticks(before.modified));
    // Scramble the visible state, as later copies or edits might.
    SetTimes(path, At(1500000000), At(1500000000));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    ASSERT_TRUE(vault::DecryptFile(path, "a long password with more than sixteen characters", ui));
    const FileState after = StateOf(path);
    EXPECT_EQ(after.bytes, content);
    EXPECT_EQ(Ticks(after.modified), Ticks(before.modified));
    EXPECT_EQ(after.attributes & 0xFF, before.attributes & 0xFF);
    if (PlatformKeepsCreationTime(dir)) {
        EXPECT_EQ(Ticks(after.created), Ticks(before.created));
    }
    EXPECT_TRUE(ui.asked.empty());
}

TEST(FileEncryption, WrongPasswordIsReportedWithTheFullPathAndChangesNothing) {
    TempDir dir;
    RecordingUi ui;
    const std::string path = dir / "secret.txt";
    WriteFileBytes(path, "confidential");
    ASSERT_TRUE(vault::EncryptFile(path, "caf\xe9", ui));
    const FileState before = StateOf(path);

    EXPECT_FALSE(vault::DecryptFile(path, "cafe", ui));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Invalid password to decode " + path);
    EXPECT_EQ(ui.asked[0].caption, "Archivon");
    const FileState after = StateOf(path);
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(Ticks(after.modified), Ticks(before.modified));

    // Only the low seven bits of a character count.
    EXPECT_TRUE(vault::DecryptFile(path, "cafi", ui));
    EXPECT_EQ(ReadFileBytes(path), "confidential");
}

TEST(FileEncryption, DamagedLengthIsRefusedAndNamed) {
    TempDir dir;
    RecordingUi ui;
    const std::string path = dir / "damaged.bin";
    // Right key, but a stated length of 4 where only 3 bytes follow the header.
    vault::EncryptedFileHeader h;
    h.key = vault::DerivePasswordKey("pw");
    h.length = 4;
    std::vector<std::uint8_t> forged(32, 0);
    h.Write(forged.data());
    des::TripleDes2(h.key.data()).Encrypt(forged.data(), forged.data(), 4);
    WriteFileBytes(path, std::string(forged.begin(), forged.end()));

    EXPECT_FALSE(vault::DecryptFile(path, "pw", ui));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_NE(ui.asked[0].text.find(path), std::string::npos);
    EXPECT_NE(ui.asked[0].text.find("damaged"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), std::string(forged.begin(), forged.end()));
}

TEST(FileEncryption, ImpossibleMissingAndLockedFilesFailSilentlyAndStayAsTheyWere) {
    TempDir dir;
    RecordingUi ui;
    for (std::size_t len : {0u, 13u, 24u}) {
        const std::string path = dir / ("plain" + std::to_string(len));
        WriteFileBytes(path, Fill(len));
        EXPECT_FALSE(vault::DecryptFile(path, "pw", ui)) << len;
        EXPECT_EQ(ReadFileBytes(path), Fill(len));
    }
    EXPECT_FALSE(vault::EncryptFile(dir / "missing", "pw", ui));
    EXPECT_FALSE(vault::DecryptFile(dir / "missing", "pw", ui));

    const std::string locked = dir / "locked";
    WriteFileBytes(locked, "in use");
    win::File other = win::File::Open(locked, GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_TRUE(other.valid());
    EXPECT_FALSE(vault::EncryptFile(locked, "pw", ui));
    other.Close();
    EXPECT_EQ(ReadFileBytes(locked), "in use");

    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(vault::EncryptFile(locked, "pw", ui));
    EXPECT_EQ(ReadFileBytes(locked), "in use");
    EXPECT_FALSE(vault::EncryptFile(dir.path(), "pw", ui));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_FALSE(FileExists(dir / "missing"));
}

TEST(FileEncryption, OnePasswordSwapsTheStatesOfMixedDocuments) {
    TempDir dir;
    RecordingUi ui;
    WriteFileBytes(dir / "a.txt", "first");
    WriteFileBytes(dir / "b.txt", "second");
    WriteFileBytes(dir / "edited.txt", "flagged but plain");  // 17 bytes
    ASSERT_TRUE(vault::EncryptFile(dir / "a.txt", "one", ui));

    std::vector<int> flags = {1, 0, 1};
    EXPECT_EQ(vault::ToggleEncryption(dir.path(), {"a.txt", "b.txt", "edited.txt"}, flags, "one", ui), 2);
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "first");
    EXPECT_EQ(ReadFileBytes(dir / "b.txt").size(), 40u);
    EXPECT_EQ(ReadFileBytes(dir / "edited.txt"), "flagged but plain");

    // A wrong password leaves that document flagged and goes on.
    flags = {0, 1};
    EXPECT_EQ(vault::ToggleEncryption(dir.path(), {"a.txt", "b.txt"}, flags, "two", ui), 1);
    EXPECT_EQ(flags, (std::vector<int>{1, 1}));
    EXPECT_EQ(ui.asked.size(), 1u);
}

TEST(FileEncryption, CommandNeedsASelectionAndAPassword) {
    TempDir dir;
    RecordingUi ui;
    std::vector<int> none;
    EXPECT_EQ(vault::EncryptDecryptCommand(dir.path(), {}, none, ui), 0);
    EXPECT_EQ(ui.messages, "No File(s) selected!\r\n");

    WriteFileBytes(dir / "doc", "text");
    std::vector<int> flags = {0};
    ui.passwordGiven = false;
    EXPECT_EQ(vault::EncryptDecryptCommand(dir.path(), {"doc"}, flags, ui), 0);
    EXPECT_EQ(ReadFileBytes(dir / "doc"), "text");
    ui.passwordGiven = true;
    ui.passwordAnswer = "";  // an empty password is a password
    EXPECT_EQ(vault::EncryptDecryptCommand(dir.path(), {"doc"}, flags, ui), 1);
    EXPECT_EQ(flags[0], 1);
    EXPECT_TRUE(vault::DecryptFile(dir / "doc", "", ui));
}

TEST(FileEncryption, LargeDocumentsStreamThroughBoundedMemory) {
    TempDir dir;
    RecordingUi ui;
    const std::string path = dir / "large.bin";
    // Several pieces, the last one short. Written and compared a slice at a
    // time, so the test itself never holds the document.
    constexpr std::size_t kSize = (24u << 20) + 5, kSlice = 1u << 20;
    const auto slice = [](std::size_t at, std::size_t n) { return Fill(n, at); };
    {
        win::File out = win::File::Open(path, GENERIC_WRITE, 0, CREATE_NEW);
        for (std::size_t at = 0; at < kSize; at += kSlice) {
            const std::string part = slice(at, std::min(kSlice, kSize - at));
            ASSERT_TRUE(out.Write(part.data(), part.size()));
        }
    }
    const std::uint64_t before = PeakWorkingSet();

    ASSERT_TRUE(vault::EncryptFile(path, "pw", ui));
    ASSERT_TRUE(vault::DecryptFile(path, "pw", ui));
    EXPECT_LT(PeakWorkingSet() - before, 12u << 20) << "a document must not be held whole in memory";

    win::File back = win::File::Open(path, GENERIC_READ, 0, OPEN_EXISTING);
    std::uint64_t size = 0;
    ASSERT_TRUE(back.Size(size));
    ASSERT_EQ(size, kSize);
    std::string part(kSlice, '\0');
    for (std::size_t at = 0; at < kSize; at += kSlice) {
        const std::size_t n = std::min(kSlice, kSize - at);
        ASSERT_TRUE(back.ReadAt(at, part.data(), n));
        ASSERT_TRUE(part.compare(0, n, slice(at, n)) == 0) << "at " << at;
    }
    EXPECT_TRUE(ui.asked.empty());
}

TEST(FileEncryption, AFailureOnTheWayLeavesTheDocumentAsItWas) {
    TempDir dir;
    RecordingUi ui;
    const std::string path = dir / "doc.bin";
    const std::string content = Fill((9u << 20) + 3);  // three pieces
    WriteFileBytes(path, content);
    SetTimes(path, At(981158400), At(1015000000));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const FileState plain = StateOf(path);

    for (int failAt : {1, 2, 3}) {
        FailingWrites failing(failAt);
        EXPECT_FALSE(vault::EncryptFile(path, "pw", ui)) << failAt;
        const FileState after = StateOf(path);
        EXPECT_TRUE(after.bytes == plain.bytes) << "plain stays plain, piece " << failAt;
        EXPECT_EQ(Ticks(after.modified), Ticks(plain.modified));
        EXPECT_EQ(after.attributes, plain.attributes);
    }
    EXPECT_EQ(ui.asked.size(), 3u);  // each failure reported

    // Encrypting keeps the attributes, as a write in place would, and gives
    // the same format as a document encrypted whole.
    ASSERT_TRUE(vault::EncryptFile(path, "pw", ui));
    const FileState encrypted = StateOf(path);
    std::string opened = encrypted.bytes;
    vault::EncryptedFileHeader header;
    ASSERT_EQ(vault::OpenEncryptedFile(reinterpret_cast<std::uint8_t*>(opened.data()), opened.size(),
                                       vault::DerivePasswordKey("pw"), header),
              vault::OpenStatus::kOpened);
    EXPECT_EQ(opened.size(), vault::EncryptedFileSize(content.size()));
    EXPECT_TRUE(opened.compare(29, header.length, content) == 0);
    EXPECT_TRUE(encrypted.attributes & FILE_ATTRIBUTE_HIDDEN);
    if (PlatformKeepsCreationTime(dir)) {
        EXPECT_EQ(Ticks(encrypted.created), Ticks(plain.created));
    }
    for (int failAt : {1, 3}) {
        FailingWrites failing(failAt);
        EXPECT_FALSE(vault::DecryptFile(path, "pw", ui)) << failAt;
        EXPECT_TRUE(ReadFileBytes(path) == encrypted.bytes) << "encrypted stays encrypted, piece " << failAt;
    }
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"doc.bin"});  // no leftovers
    ASSERT_TRUE(vault::DecryptFile(path, "pw", ui));
    EXPECT_TRUE(ReadFileBytes(path) == content);
}
