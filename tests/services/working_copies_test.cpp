#include <gtest/gtest.h>

#include <algorithm>

#include "common/paths.h"
#include "common/win/handle.h"
#include "tests/support/test_env.h"
#include "vault/catalog_paths.h"
#include "vault/document_index.h"
#include "vault/document_list.h"
#include "vault/working_copies.h"

using vault::DocumentList;
using vault::DocumentRecord;
using vault::DocumentRecords;

namespace {

constexpr std::uint32_t kT = 1600000000;

// A catalog "Docs" in a vault on disk, shown by a document list, and a
// folder outside the vault for the working copies.
class WorkingCopiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalog = root / "Docs";
        CreateDirectoryA(catalog.c_str(), nullptr);
        list.currentCatalog = catalog;
        list.Refresh();
        list.itemChanged = [this](int i) { changed.push_back(i); };
    }

    // A document with content and time, its working folder `folder`.
    int Document(const std::string& name, const std::string& content, std::uint32_t time,
                 const std::string& folder) {
        WriteFileBytes(catalog + "\\" + name, content);
        SetModifiedTime(catalog + "\\" + name, time);
        DocumentRecord r;
        EXPECT_TRUE(vault::MakeDocumentRecord(catalog + "\\" + name, root.path(), r));
        r.workingFolder = folder;
        list.records.push_back(r);
        EXPECT_TRUE(list.Save());
        return static_cast<int>(list.records.size()) - 1;
    }
    std::string Copy(const std::string& name, const std::string& content, std::uint32_t time) {
        const std::string path = work / name;
        WriteFileBytes(path, content);
        SetModifiedTime(path, time);
        return path;
    }
    std::string Original(const std::string& name) { return catalog + "\\" + name; }
    DocumentRecords Index() {
        DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(ui, r, catalog));
        return r;
    }

    TempDir root;
    TempDir work;
    std::string catalog;
    RecordingUi ui;
    vault::VaultContext context{root.path(), vault::kDefaultTextFileTypes};
    DocumentList list{context, ui};
    std::vector<int> changed;
};

}  // namespace

TEST_F(WorkingCopiesTest, CheckInCopiesOnlyNewerCopiesAndRemoveTakesTheRest) {
    Document("same.txt", "same", kT, work.path());
    Document("newer.txt", "old text", kT, work.path());
    Document("older.txt", "current", kT, work.path());
    Copy("same.txt", "same", kT);
    Copy("newer.txt", "edited text", kT + 1);
    Copy("older.txt", "stale", kT - 60);

    list.CheckIn({0, 1, 2}, false);
    EXPECT_EQ(ui.messages, "\\Docs\\newer.txt is updated.\r\n");
    EXPECT_EQ(ReadFileBytes(Original("newer.txt")), "edited text");
    EXPECT_EQ(ModifiedTime(Original("newer.txt")), kT + 1) << "the original takes the copy's time";
    EXPECT_EQ(ReadFileBytes(Original("older.txt")), "current");
    EXPECT_EQ(changed, std::vector<int>{1});
    EXPECT_EQ(Index()[1].modified, kT + 1);
    EXPECT_EQ(Index()[1].size, 11);
    for (const char* n : {"same.txt", "newer.txt", "older.txt"}) EXPECT_TRUE(FileExists(work / n)) << n;

    // After the check-in the two compare as unchanged: removing copies
    // nothing more and takes every working copy.
    ui.messages.clear();
    list.CheckIn({0, 1, 2}, true);
    EXPECT_EQ(ui.messages,
              "\\Docs\\same.txt's working copy is removed\r\n"
              "\\Docs\\newer.txt's working copy is removed\r\n"
              "\\Docs\\older.txt's working copy is removed\r\n");
    EXPECT_EQ(ReadFileBytes(Original("older.txt")), "current");
    for (const char* n : {"same.txt", "newer.txt", "older.txt"}) EXPECT_FALSE(FileExists(work / n)) << n;
}

TEST_F(WorkingCopiesTest, EachProblemIsOneLineAndTheCommandGoesOn) {
    Document("nofolder.txt", "a", kT, "");
    Document("nocopy.txt", "b", kT, work.path());
    const int secret = Document("secret.txt", "cipher", kT, work.path());
    list.records[secret].encoded = 1;
    Document("gone.txt", "d", kT, work.path());
    DeleteFileA(Original("gone.txt").c_str());
    Document("good.txt", "e", kT, work.path());
    Copy("secret.txt", "plain edit", kT + 100);
    Copy("gone.txt", "orphan copy", kT + 100);
    Copy("good.txt", "edited", kT + 100);

    list.CheckIn({0, 1, 2, 3, 4}, true);
    EXPECT_EQ(ui.messages,
              "\\Docs\\nofolder.txt's working folder not set!\r\n"
              "\\Docs\\nocopy.txt's working copy doesn't exist\r\n"
              "\\Docs\\secret.txt is encrypted\r\n"
              "\\Docs\\good.txt is updated.\r\n"
              "\\Docs\\good.txt's working copy is removed\r\n");
    // Encrypted documents are never copied in either direction.
    EXPECT_EQ(ReadFileBytes(Original("secret.txt")), "cipher");
    EXPECT_EQ(ReadFileBytes(work / "secret.txt"), "plain edit");
    EXPECT_EQ(ReadFileBytes(work / "gone.txt"), "orphan copy");
    EXPECT_FALSE(FileExists(Original("gone.txt")));

    ui.messages.clear();
    DeleteFileA((work / "secret.txt").c_str());
    list.CopyToWorkingFolder({0, 2});
    list.OpenInWorkingFolder({0, 2});
    EXPECT_EQ(ui.messages,
              "\\Docs\\nofolder.txt's working folder not set!\r\n"
              "\\Docs\\secret.txt is encrypted\r\n"
              "\\Docs\\nofolder.txt's working folder not set!\r\n"
              "\\Docs\\secret.txt is encrypted\r\n");
    EXPECT_FALSE(FileExists(work / "secret.txt"));
    EXPECT_TRUE(ui.opened.empty());
}

TEST_F(WorkingCopiesTest, ALockedOrReadOnlyOriginalNeverLosesItsWorkingCopy) {
    Document("locked.txt", "original", kT, work.path());
    Document("readonly.txt", "original", kT, work.path());
    Copy("locked.txt", "my edits", kT + 1);
    Copy("readonly.txt", "my edits too", kT + 1);
    SetFileAttributesA(Original("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    {
        win::File lock = win::File::Open(Original("locked.txt"), GENERIC_READ, 0, OPEN_EXISTING);
        ASSERT_TRUE(lock.valid());
        list.CheckIn({0, 1}, true);
    }
    SetFileAttributesA(Original("readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ui.messages.find("is updated"), std::string::npos) << ui.messages;
    EXPECT_EQ(ui.messages.find("removed"), std::string::npos) << ui.messages;
    EXPECT_NE(ui.messages.find("\\Docs\\locked.txt can not be updated: "), std::string::npos) << ui.messages;
    EXPECT_NE(ui.messages.find("\\Docs\\readonly.txt can not be updated: "), std::string::npos) << ui.messages;
    EXPECT_EQ(ReadFileBytes(work / "locked.txt"), "my edits");
    EXPECT_EQ(ReadFileBytes(work / "readonly.txt"), "my edits too");
    EXPECT_EQ(ReadFileBytes(Original("locked.txt")), "original");
    EXPECT_TRUE(changed.empty());

    // Once the original is free, the same command checks the edits in.
    ui.messages.clear();
    list.CheckIn({0}, true);
    EXPECT_EQ(ui.messages, "\\Docs\\locked.txt is updated.\r\n\\Docs\\locked.txt's working copy is removed\r\n");
    EXPECT_EQ(ReadFileBytes(Original("locked.txt")), "my edits");
}

TEST_F(WorkingCopiesTest, CopyToWorkingFolderMakesTheFolderKeepsTimesAndAsksBeforeReplacing) {
    const std::string folder = work / "new\\deeper";
    Document("a.txt", "document", kT, folder);
    WriteFileBytes(Original("a.png"), "picture");
    SetModifiedTime(Original("a.png"), kT - 5);
    list.records[0].companions = {"a.png"};

    list.CopyToWorkingFolder({0});
    EXPECT_EQ(ui.messages, "");
    EXPECT_EQ(ReadFileBytes(folder + "\\a.txt"), "document");
    EXPECT_EQ(ReadFileBytes(folder + "\\a.png"), "picture");
    EXPECT_EQ(ModifiedTime(folder + "\\a.txt"), kT);
    EXPECT_EQ(ModifiedTime(folder + "\\a.png"), kT - 5);

    // An existing working copy is replaced only when the user agrees.
    WriteFileBytes(folder + "\\a.txt", "edited");
    ui.answer = IDNO;
    list.CopyToWorkingFolder({0});
    EXPECT_EQ(ReadFileBytes(folder + "\\a.txt"), "edited");
    EXPECT_EQ(ui.asked.size(), 2u);
    ui.answer = IDYES;
    list.CopyToWorkingFolder({0});
    EXPECT_EQ(ReadFileBytes(folder + "\\a.txt"), "document");
    EXPECT_EQ(ui.messages, "");
}

TEST_F(WorkingCopiesTest, OpenInWorkingFolderCopiesOutOpensOrOffersCheckIn) {
    const std::string folder = work / "never\\made";
    Document("a.txt", "document", kT, folder);

    list.OpenInWorkingFolder({0});
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(ReadFileBytes(folder + "\\a.txt"), "document");
    EXPECT_EQ(ModifiedTime(folder + "\\a.txt"), kT);
    ASSERT_EQ(ui.opened, std::vector<std::string>{folder + "\\a.txt"});
    EXPECT_EQ(ui.openedIn, std::vector<std::string>{folder});

    // Unchanged: opened as it is, nothing asked.
    WriteFileBytes(folder + "\\a.txt", "document");  // same size, time set below
    SetModifiedTime(folder + "\\a.txt", kT);
    list.OpenInWorkingFolder({0});
    EXPECT_EQ(ui.opened.size(), 2u);
    EXPECT_TRUE(ui.asked.empty());

    // Newer working copy: No keeps the original, Yes checks the copy in.
    WriteFileBytes(folder + "\\a.txt", "edited in place");
    SetModifiedTime(folder + "\\a.txt", kT + 30);
    ui.answer = IDNO;
    list.OpenInWorkingFolder({0});
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "The working copy is newer than the original, do you want to check in it?");
    EXPECT_EQ(ui.asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(ReadFileBytes(Original("a.txt")), "document");
    EXPECT_EQ(ui.opened.size(), 3u);
    ui.answer = IDYES;
    list.OpenInWorkingFolder({0});
    EXPECT_EQ(ReadFileBytes(Original("a.txt")), "edited in place");
    EXPECT_EQ(Index()[0].modified, kT + 30);
    EXPECT_EQ(ui.opened.size(), 4u);

    // An original newer than its copy refreshes the copy.
    WriteFileBytes(Original("a.txt"), "changed in the vault");
    SetModifiedTime(Original("a.txt"), kT + 60);
    list.OpenInWorkingFolder({0});
    EXPECT_EQ(ReadFileBytes(folder + "\\a.txt"), "changed in the vault");
    EXPECT_EQ(ui.messages, "");
}

TEST_F(WorkingCopiesTest, BadWorkingFoldersCostOneLineEachAndLoseNothing) {
    // A drive letter the system does not have.
    std::string missingDrive;
    const DWORD drives = GetLogicalDrives();
    for (char d = 'Q'; d <= 'Y' && missingDrive.empty(); ++d)
        if (!(drives & (1u << (d - 'A')))) missingDrive = std::string(1, d) + ":\\nowhere";
    ASSERT_FALSE(missingDrive.empty());
    const std::string tooLong = work / std::string(300, 'x');
    Document("drive.txt", "1", kT, missingDrive);
    Document("long.txt", "2", kT, tooLong);
    Document("folder.txt", "3", kT, work.path());
    CreateDirectoryA((work / "folder.txt").c_str(), nullptr);  // the working copy is a folder
    Document("good.txt", "4", kT, work.path());

    ui.answer = IDYES;  // replace what is there (the folder)
    list.CopyToWorkingFolder({0, 1, 2, 3});
    auto lines = [&] { return std::count(ui.messages.begin(), ui.messages.end(), '\n'); };
    EXPECT_EQ(lines(), 3) << ui.messages;
    EXPECT_EQ(ReadFileBytes(work / "good.txt"), "4");
    EXPECT_TRUE(FolderExists(work / "folder.txt"));

    ui.messages.clear();
    ui.asked.clear();
    list.OpenInWorkingFolder({0, 1, 2});
    EXPECT_EQ(lines(), 3) << ui.messages;
    EXPECT_NE(ui.messages.find("\\Docs\\drive.txt can not be copied to its working folder: "), std::string::npos);
    // The system's text for each failed copy in a box, as well.
    EXPECT_GE(ui.asked.size(), 3u);
    EXPECT_TRUE(ui.opened.empty());

    ui.messages.clear();
    list.CheckIn({0, 1, 2, 3}, true);
    EXPECT_EQ(ui.messages,
              "\\Docs\\drive.txt's working copy doesn't exist\r\n"
              "\\Docs\\long.txt's working copy doesn't exist\r\n"
              "\\Docs\\folder.txt's working copy doesn't exist\r\n"
              "\\Docs\\good.txt's working copy is removed\r\n");
    EXPECT_TRUE(FolderExists(work / "folder.txt"));
    for (const char* n : {"drive.txt", "long.txt", "folder.txt", "good.txt"}) EXPECT_TRUE(FileExists(Original(n)));
}

TEST_F(WorkingCopiesTest, WorkingFoldersInsideTheVaultAreRefusedWithNothingChanged) {
    Document("a.txt", "a", kT, work.path());
    const auto before = ReadFileBytes(vault::IndexPath(catalog));
    for (const std::string& inside : {catalog, root / "Other", paths::ToUpperAscii(catalog)}) {
        ui.asked.clear();
        ui.browseResult = inside;
        list.SetWorkingFolder({0});
        list.SetWorkingFolders({catalog});
        ASSERT_EQ(ui.asked.size(), 2u) << inside;
        EXPECT_EQ(ui.asked[0].text, "Working path can not be sub-path of Vaultry root path!");
        EXPECT_EQ(ui.asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(list.records[0].workingFolder, work.path());
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(catalog)), before);

    // Outside: every selected record takes it; no folder is made.
    Document("b.txt", "b", kT, "");
    ui.browseResult = work / "elsewhere";
    list.SetWorkingFolder({0, 1});
    EXPECT_EQ(Index()[0].workingFolder, work / "elsewhere");
    EXPECT_EQ(Index()[1].workingFolder, work / "elsewhere");
    EXPECT_FALSE(FolderExists(work / "elsewhere"));
}
