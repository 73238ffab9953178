#include "vault/working_copy_rules.h"

#include <gtest/gtest.h>

using vault::CheckInAction;
using vault::DocumentRecord;
using vault::FileFacts;
using vault::OpenAction;

namespace {

DocumentRecord Record(const char* folder, int encoded = 0) {
    DocumentRecord r;
    r.name = "a.txt";
    r.workingFolder = folder;
    r.encoded = encoded;
    return r;
}

constexpr std::uint32_t kT = 1700000000;

}  // namespace

TEST(WorkingCopyRules, CheckInComparesWholeSecondsAfterTheChecksInOrder) {
    const FileFacts original{true, kT, 10};
    const FileFacts none{};
    // The checks come in this order: folder, copy, encryption, original.
    EXPECT_EQ(DecideCheckIn(Record(""), none, none), CheckInAction::folderNotSet);
    EXPECT_EQ(DecideCheckIn(Record("D:\\w", 1), original, none), CheckInAction::copyMissing);
    EXPECT_EQ(DecideCheckIn(Record("D:\\w", 1), none, {true, kT + 5, 1}), CheckInAction::encrypted);
    EXPECT_EQ(DecideCheckIn(Record("D:\\w"), none, {true, kT, 1}), CheckInAction::originalMissing);

    EXPECT_EQ(DecideCheckIn(Record("D:\\w"), original, {true, kT, 99}), CheckInAction::keep);
    EXPECT_EQ(DecideCheckIn(Record("D:\\w"), original, {true, kT - 1, 10}), CheckInAction::keep);
    EXPECT_EQ(DecideCheckIn(Record("D:\\w"), original, {true, kT + 1, 10}), CheckInAction::update);
}

TEST(WorkingCopyRules, AWorkingCopyGoesOnlyWhenNothingOfItCanBeLost) {
    EXPECT_TRUE(RemoveAfterCheckIn(CheckInAction::keep, false));
    EXPECT_TRUE(RemoveAfterCheckIn(CheckInAction::update, true));
    EXPECT_FALSE(RemoveAfterCheckIn(CheckInAction::update, false));
    for (auto a : {CheckInAction::folderNotSet, CheckInAction::copyMissing, CheckInAction::encrypted,
                   CheckInAction::originalMissing})
        EXPECT_FALSE(RemoveAfterCheckIn(a, true));
}

TEST(WorkingCopyRules, OpenRefreshesOpensOrAsks) {
    const FileFacts original{true, kT, 10};
    EXPECT_EQ(DecideOpen(Record("", 1), original, {}), OpenAction::encrypted);
    EXPECT_EQ(DecideOpen(Record(""), original, {}), OpenAction::folderNotSet);
    EXPECT_EQ(DecideOpen(Record("D:\\w"), {}, {true, kT, 10}), OpenAction::originalMissing);
    EXPECT_EQ(DecideOpen(Record("D:\\w"), original, {}), OpenAction::refreshCopy);
    EXPECT_EQ(DecideOpen(Record("D:\\w"), original, {true, kT - 1, 10}), OpenAction::refreshCopy);
    EXPECT_EQ(DecideOpen(Record("D:\\w"), original, {true, kT, 10}), OpenAction::openCopy);
    EXPECT_EQ(DecideOpen(Record("D:\\w"), original, {true, kT, 11}), OpenAction::askCheckIn);
    EXPECT_EQ(DecideOpen(Record("D:\\w"), original, {true, kT + 1, 10}), OpenAction::askCheckIn);
}

TEST(WorkingCopyRules, PathsOfWorkingCopiesAndSubtrees) {
    EXPECT_EQ(vault::WorkingCopyPath("D:\\work", "a.txt"), "D:\\work\\a.txt");
    EXPECT_EQ(vault::WorkingCopyPath("D:\\", "a.txt"), "D:\\a.txt");

    const char* top = "C:\\Vault\\Projects";
    EXPECT_EQ(vault::SubtreeWorkingFolder("D:\\work", top, top), "D:\\work");
    EXPECT_EQ(vault::SubtreeWorkingFolder("D:\\work", top, "C:\\Vault\\Projects\\Old"), "D:\\work\\Old");
    EXPECT_EQ(vault::SubtreeWorkingFolder("D:\\work", top, "C:\\Vault\\Projects\\Old\\B"), "D:\\work\\Old\\B");
    EXPECT_EQ(vault::SubtreeWorkingFolder("D:\\", top, top), "D:\\");
    EXPECT_EQ(vault::SubtreeWorkingFolder("D:\\", top, "C:\\Vault\\Projects\\Old"), "D:\\Old");
    // A network folder keeps the pair that starts its name.
    EXPECT_EQ(vault::SubtreeWorkingFolder("\\\\server\\share\\", top, "C:\\Vault\\Projects\\Old"),
              "\\\\server\\share\\Old");
}

TEST(WorkingCopyRules, InsideTheVaultWhateverTheCase) {
    EXPECT_TRUE(vault::InsideVaultNoCase("c:\\vault\\docs\\a.txt", "C:\\Vault"));
    EXPECT_TRUE(vault::InsideVaultNoCase("C:\\VAULT", "C:\\Vault"));
    EXPECT_FALSE(vault::InsideVaultNoCase("C:\\Vault2\\a.txt", "C:\\Vault"));
    EXPECT_FALSE(vault::InsideVaultNoCase("C:\\Vau", "C:\\Vault"));
    EXPECT_FALSE(vault::InsideVaultNoCase("C:\\x", ""));
}

TEST(WorkingCopyRules, ReportLines) {
    EXPECT_EQ(vault::ReportPrefix("C:\\Vault\\Projects\\Old", "C:\\Vault", "a.txt"), "\\Projects\\Old\\a.txt");
    EXPECT_EQ(vault::ReportPrefix("C:\\Vault", "C:\\Vault", "a.txt"), "\\a.txt");
    EXPECT_EQ(vault::TotalCheckedLine(9), "Total 9 files checked.\r\n");
}
