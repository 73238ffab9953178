#include "app/app_services.h"

#include <gtest/gtest.h>

#include "common/settings_store.h"
#include "tests/support/test_env.h"

namespace {

class BaseDirGuard {
public:
    BaseDirGuard() : saved_(ArchivonSettings().GetText("Config", "BaseDir", "")) {}
    ~BaseDirGuard() { ArchivonSettings().SetText("Config", "BaseDir", saved_); }

private:
    std::string saved_;
};

}  // namespace

TEST(AppServices, VaultRootFromBaseDirOrProgramFolder) {
    BaseDirGuard guard;
    ArchivonSettings().SetText("Config", "BaseDir", "");
    EXPECT_EQ(GetVaultRoot(), GetModuleDirectory() + "\\Root");
    ArchivonSettings().SetText("Config", "BaseDir", "D:\\Vault\\Root");
    EXPECT_EQ(GetVaultRoot(), "D:\\Vault\\Root") << "used as stored, nothing appended";
    EXPECT_EQ(GetUnknownCatalogPath(), "D:\\Vault\\Root\\UnknownCatalog");
    EXPECT_TRUE(IsUnderBaseDir("D:\\Vault\\Root\\x\\a.txt"));
    EXPECT_FALSE(IsUnderBaseDir("D:\\Vault\\Ro"));
    // A BaseDir of the wrong registry type reads as the default.
    ArchivonSettings().SetInt("Config", "BaseDir", 5);
    EXPECT_EQ(GetVaultRoot(), GetModuleDirectory() + "\\Root");
}

TEST(AppServices, CreatePathMakesEveryMissingFolderAndRefusesLongNames) {
    TempDir dir;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(CreatePath(dir / "A\\B\\C"));
    EXPECT_TRUE(FolderExists(dir / "A\\B\\C"));
    EXPECT_TRUE(CreatePath(dir / "A\\B\\C")) << "existing folders are left alone";
    EXPECT_TRUE(boxes.boxes.empty());

    const std::string longName(270, 'x');
    EXPECT_FALSE(CreatePath(dir / "A\\" + longName + "\\D"));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The Path is too long");
    EXPECT_FALSE(FolderExists(dir / "A\\" + longName));
}

TEST(AppServices, PathExistsAndTextFileTypes) {
    TempDir dir;
    WriteFileBytes(dir / "report.txt", "x");
    EXPECT_TRUE(PathExists(dir / "report.txt"));
    EXPECT_TRUE(PathExists(dir.path()));
    EXPECT_FALSE(PathExists(dir / "missing"));
    EXPECT_TRUE(IsFolder(dir.path()));
    EXPECT_FALSE(IsFolder(dir / "report.txt"));
    EXPECT_TRUE(IsTextFileType("C:\\x\\Page.Htm"));
    EXPECT_FALSE(IsTextFileType("C:\\x\\a.txt.bak"));
}
