// The handle owners every other part builds on.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/win/folder_enumerator.h"
#include "common/win/handle.h"
#include "common/win/reg_key.h"
#include "tests/support/test_env.h"

TEST(WinWrappers, FolderEnumeratorListsEntriesWithoutDots) {
    TempDir dir;
    WriteFileBytes(dir / "a.txt", "12345");
    CreateDirectoryA((dir / "Sub").c_str(), nullptr);
    std::vector<std::string> names;
    win::FolderEnumerator entries(dir.path());
    while (entries.Next()) {
        names.push_back(entries.name());
        if (entries.name() == "a.txt") {
            EXPECT_EQ(entries.size(), 5u);
        }
        if (entries.name() == "Sub") {
            EXPECT_TRUE(entries.isPlainFolder());
        }
    }
    EXPECT_TRUE(entries.CleanEnd());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Sub", "a.txt"}));

    win::FolderEnumerator missing(dir / "gone");
    EXPECT_FALSE(missing.Next());
    EXPECT_FALSE(missing.CleanEnd()) << "a missing folder is not an empty one";
}

TEST(WinWrappers, FileReadsWritesAndRefusesTooLarge) {
    TempDir dir;
    win::File file = win::File::Open(dir / "f.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_TRUE(file.valid());
    ASSERT_TRUE(file.Write("abcdef", 6));
    ASSERT_TRUE(file.WriteAt(2, "XY", 2));
    char four[4] = {};
    ASSERT_TRUE(file.ReadAt(1, four, 4));
    EXPECT_EQ(std::string(four, 4), "bXYe");
    EXPECT_FALSE(file.ReadAt(4, four, 4));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HANDLE_EOF));
    ASSERT_TRUE(file.Resize(3));
    std::vector<std::uint8_t> all;
    ASSERT_TRUE(file.ReadAll(all, 3));
    EXPECT_EQ(std::string(all.begin(), all.end()), "abX");
    EXPECT_FALSE(file.ReadAll(all, 2));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));

    // Moving the owner moves the handle: it is closed once, by the last one.
    win::File moved = std::move(file);
    EXPECT_FALSE(file.valid());
    EXPECT_TRUE(moved.valid());
    EXPECT_FALSE(win::File::Open(dir / "f.bin", GENERIC_READ, 0, OPEN_EXISTING).valid()) << "still open, unshared";
    moved.Close();
    EXPECT_TRUE(win::File::Open(dir / "f.bin", GENERIC_READ, 0, OPEN_EXISTING).valid());
    EXPECT_FALSE(win::File::Open(dir / "f.bin", GENERIC_READ, 0, CREATE_NEW).valid());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS)) << "the failure's code survives";
}

namespace {
DWORD WINAPI WaitForEvent(LPVOID event) {
    return WaitForSingleObject(static_cast<HANDLE>(event), 5000) == WAIT_OBJECT_0 ? 0 : 1;
}
}  // namespace

TEST(WinWrappers, ThreadRunsUntilJoinedAndEventsWake) {
    win::Event go;
    ASSERT_TRUE(go.Create());
    win::Thread thread;
    ASSERT_TRUE(thread.Start(&WaitForEvent, go.get()));
    EXPECT_FALSE(thread.Start(&WaitForEvent, go.get())) << "one thread per owner";
    EXPECT_TRUE(thread.running());
    EXPECT_FALSE(thread.Ended());
    go.Set();
    thread.Join();
    EXPECT_FALSE(thread.running());
    EXPECT_TRUE(thread.Ended());
    EXPECT_FALSE(go.IsSet()) << "auto-reset: the waiter took the signal";
}

TEST(WinWrappers, RegistryKeyReadsOnlyTheRightTypes) {
    const std::string path = "Software\\Tallowind\\ArchivonTest\\Wrappers";
    win::RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path, KEY_READ | KEY_WRITE), ERROR_SUCCESS);
    ASSERT_EQ(key.SetText("Name", "value"), ERROR_SUCCESS);
    ASSERT_EQ(key.SetDword("Number", 7), ERROR_SUCCESS);
    std::string text;
    DWORD number = 0;
    EXPECT_TRUE(key.QueryText("Name", text));
    EXPECT_EQ(text, "value");
    EXPECT_TRUE(key.QueryDword("Number", number));
    EXPECT_EQ(number, 7u);
    EXPECT_FALSE(key.QueryText("Number", text)) << "a number is not a text";
    EXPECT_FALSE(key.QueryDword("Name", number));
    EXPECT_FALSE(key.QueryText("Missing", text));
    key.Close();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tallowind\\ArchivonTest");
    EXPECT_NE(key.Open(HKEY_CURRENT_USER, path, KEY_READ), ERROR_SUCCESS);
    EXPECT_FALSE(key.valid());
}
