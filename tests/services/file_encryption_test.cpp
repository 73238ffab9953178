#include "common/win/handle.h"
#include "vault/file_encryption.h"

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

std::string Fill(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 37 + i / 251);
    return s;
}

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
