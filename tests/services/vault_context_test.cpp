#include "vault/vault_context.h"

#include <gtest/gtest.h>

#include "common/settings_store.h"
#include "common/win/file_system.h"
#include "tests/support/test_env.h"
#include "vault/catalog_paths.h"

namespace {

class BaseDirGuard {
public:
    BaseDirGuard() : saved_(ArchivonSettings().GetText("Config", "BaseDir", "")) {}
    ~BaseDirGuard() { ArchivonSettings().SetText("Config", "BaseDir", saved_); }

private:
    std::string saved_;
};

}  // namespace

TEST(VaultContext, RootFromBaseDirOrProgramFolder) {
    BaseDirGuard guard;
    const std::string program = win::ModuleDirectory();
    ArchivonSettings().SetText("Config", "BaseDir", "");
    EXPECT_EQ(vault::LoadVaultContext(ArchivonSettings(), program).root, program + "\\Root");
    ArchivonSettings().SetText("Config", "BaseDir", "D:\\Vault\\Root");
    const vault::VaultContext stored = vault::LoadVaultContext(ArchivonSettings(), program);
    EXPECT_EQ(stored.root, "D:\\Vault\\Root") << "used as stored, nothing appended";
    EXPECT_EQ(stored.UnknownCatalog(), "D:\\Vault\\Root\\UnknownCatalog");
    EXPECT_TRUE(vault::IsUnderBaseDir("D:\\Vault\\Root\\x\\a.txt", stored.root));
    EXPECT_FALSE(vault::IsUnderBaseDir("D:\\Vault\\Ro", stored.root));
    // A BaseDir of the wrong registry type reads as the default.
    ArchivonSettings().SetInt("Config", "BaseDir", 5);
    EXPECT_EQ(vault::LoadVaultContext(ArchivonSettings(), program).root, program + "\\Root");
}

TEST(VaultContext, TextFileTypesFromTheSettings) {
    const std::string saved = ArchivonSettings().GetText("Config", "TextFileTypes", "");
    ArchivonSettings().DeleteValue("Config", "TextFileTypes");
    const vault::VaultContext defaults = vault::LoadVaultContext(ArchivonSettings(), "C:\\P");
    EXPECT_TRUE(vault::IsTextFileType("C:\\x\\Page.Htm", defaults.textFileTypes));
    EXPECT_FALSE(vault::IsTextFileType("C:\\x\\a.txt.bak", defaults.textFileTypes));
    ArchivonSettings().SetText("Config", "TextFileTypes", ".LOG");
    const vault::VaultContext own = vault::LoadVaultContext(ArchivonSettings(), "C:\\P");
    EXPECT_TRUE(vault::IsTextFileType("a.log", own.textFileTypes));
    EXPECT_FALSE(vault::IsTextFileType("a.txt", own.textFileTypes));
    if (saved.empty())
        ArchivonSettings().DeleteValue("Config", "TextFileTypes");
    else
        ArchivonSettings().SetText("Config", "TextFileTypes", saved);
}

TEST(FileSystem, CreatePathMakesEveryMissingFolderAndRefusesLongNames) {
    TempDir dir;
    RecordingUi ui;
    ASSERT_TRUE(win::CreatePath(dir / "A\\B\\C", ui));
    EXPECT_TRUE(FolderExists(dir / "A\\B\\C"));
    EXPECT_TRUE(win::CreatePath(dir / "A\\B\\C", ui)) << "existing folders are left alone";
    EXPECT_TRUE(ui.asked.empty());

    const std::string longName(270, 'x');
    EXPECT_FALSE(win::CreatePath(dir / "A\\" + longName + "\\D", ui));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "The Path is too long");
    EXPECT_FALSE(FolderExists(dir / "A\\" + longName));
}

TEST(FileSystem, PathExistsAndFolders) {
    TempDir dir;
    WriteFileBytes(dir / "report.txt", "x");
    EXPECT_TRUE(win::PathExists(dir / "report.txt"));
    EXPECT_TRUE(win::PathExists(dir.path()));
    EXPECT_FALSE(win::PathExists(dir / "missing"));
    EXPECT_TRUE(win::IsFolder(dir.path()));
    EXPECT_FALSE(win::IsFolder(dir / "report.txt"));
}
