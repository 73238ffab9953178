#include <algorithm>

#include "common/win/handle.h"
#include "res/resource.h"
#include "shell/list_ctrl_view.h"
#include "shell/tree_ctrl_view.h"
#include "tests/windows/frame_fixture.h"
#include "vault/document_index.h"

namespace {

constexpr std::uint32_t kT = 1600000000;

// Projects with two documents, its sub-catalogs Old and New with three and
// four, and Letters beside it with one; every document works in `work`.
class WorkingCopiesWindowTest : public FrameTest {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        for (const char* f : {"Projects", "Projects\\Old", "Projects\\New", "Letters"}) MakeFolder(f);
    }
    void SetUp() override {
        FrameTest::SetUp();
        Documents("Projects", {"p1.txt", "p2.txt"});
        Documents("Projects\\Old", {"o1.txt", "o2.txt", "o3.txt"});
        Documents("Projects\\New", {"n1.txt", "n2.txt", "n3.txt", "n4.txt"});
        Documents("Letters", {"l1.txt"});
        list().SetUi(ui);
    }
    void TearDown() override {
        list().SetUi(*frame);
        FrameTest::TearDown();
    }
    void Documents(const std::string& catalog, const std::vector<std::string>& names) {
        vault::DocumentRecords records;
        ASSERT_TRUE(vault::LoadIndex(ui, records, Path(catalog)));
        for (const auto& name : names) {
            WriteFileBytes(Path(catalog) + "\\" + name, "original " + name);
            SetModifiedTime(Path(catalog) + "\\" + name, kT);
            vault::DocumentRecord r;
            ASSERT_TRUE(vault::MakeDocumentRecord(Path(catalog) + "\\" + name, vault, r));
            r.workingFolder = work.path();
            records.push_back(r);
        }
        ASSERT_TRUE(vault::SaveIndex(ui, records, Path(catalog)));
    }
    std::string Path(const std::string& catalog) { return vault + "\\" + catalog; }
    vault::DocumentRecords Index(const std::string& catalog) {
        vault::DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(ui, r, Path(catalog)));
        return r;
    }
    CListCtrlView& list() { return *frame->list(); }
    void Show(const std::string& catalog) {
        TreeView_SelectItem(tree(), Item(catalog));
        PumpFor(20);
    }
    void Command(UINT id) { SendMessageA(*frame, WM_COMMAND, id, 0); }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = ui.messages.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(ui.messages.substr(at, end - at));
        return lines;
    }

    TempDir work;
    RecordingUi ui;
};

}  // namespace

TEST_F(WorkingCopiesWindowTest, DocumentCommandsWithoutSelectionSaySo) {
    Show("Projects");
    list().SelectOnly({});
    for (UINT id : {ID_FILES_SET_WORKING, ID_FILES_OPEN_WORKING, ID_FILES_COPY_TO_WORKING, ID_FILES_CHECK_IN,
                    ID_FILES_CHECK_IN_REMOVE})
        Command(id);
    EXPECT_EQ(Lines(), std::vector<std::string>(5, "No File(s) selected!"));
}

TEST_F(WorkingCopiesWindowTest, CheckInRecursivelyWalksTheSubtreeAndCounts) {
    WriteFileBytes(work / "o2.txt", "edited o2");
    SetModifiedTime(work / "o2.txt", kT + 1);
    WriteFileBytes(work / "p1.txt", "original p1.txt");
    SetModifiedTime(work / "p1.txt", kT);
    WriteFileBytes(work / "l1.txt", "edited l1");
    SetModifiedTime(work / "l1.txt", kT + 1);
    Show("Projects");

    Command(ID_CATALOG_CHECKIN_RECURSIVE);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 9u) << ui.messages;  // 7 without a copy, 1 updated, the total
    EXPECT_EQ(lines.back(), "Total 9 files checked.");
    EXPECT_EQ(lines.front(), "\\Projects\\p2.txt's working copy doesn't exist");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\\Projects\\Old\\o2.txt is updated."), 1);
    EXPECT_EQ(ReadFileBytes(Path("Projects\\Old\\o2.txt")), "edited o2");
    EXPECT_EQ(ReadFileBytes(Path("Letters\\l1.txt")), "original l1.txt") << "outside the subtree";

    // Clearing removes the copies that are not newer, here all.
    ui.messages.clear();
    Command(ID_CATALOG_CHECKIN_CLEAR);
    lines = Lines();
    EXPECT_EQ(lines.back(), "Total 9 files checked.");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\\Projects\\p1.txt's working copy is removed"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\\Projects\\Old\\o2.txt's working copy is removed"), 1);
    EXPECT_FALSE(FileExists(work / "p1.txt"));
    EXPECT_FALSE(FileExists(work / "o2.txt"));
    EXPECT_TRUE(FileExists(work / "l1.txt"));

    // A sub-catalog alone: its own documents only.
    ui.messages.clear();
    Show("Projects\\New");
    Command(ID_CATALOG_CHECKIN_RECURSIVE);
    EXPECT_EQ(Lines().back(), "Total 4 files checked.");
}

TEST_F(WorkingCopiesWindowTest, SetupWorkingFolderRecursivelyFollowsTheCatalogs) {
    Show("Projects");
    ui.browseResult = "D:\\work";
    Command(ID_CATALOG_SETUP_WORKING);
    EXPECT_EQ(Index("Projects")[1].workingFolder, "D:\\work");
    EXPECT_EQ(Index("Projects\\Old")[2].workingFolder, "D:\\work\\Old");
    EXPECT_EQ(Index("Projects\\New")[0].workingFolder, "D:\\work\\New");
    EXPECT_EQ(Index("Letters")[0].workingFolder, work.path());
    // The shown catalog was one of them: the list shows the new folders.
    EXPECT_EQ(list().CellText(0, 2), "D:\\work");

    ui.browseResult = "D:\\";
    Command(ID_CATALOG_SETUP_WORKING);
    EXPECT_EQ(Index("Projects")[0].workingFolder, "D:\\");
    EXPECT_EQ(Index("Projects\\Old")[0].workingFolder, "D:\\Old");
    EXPECT_EQ(list().CellText(1, 2), "D:\\");

    // A folder inside the vault is refused and nothing changes.
    const std::string before = ReadFileBytes(vault::IndexPath(Path("Projects\\Old")));
    ui.browseResult = Path("Letters");
    Command(ID_CATALOG_SETUP_WORKING);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Working path can not be sub-path of Vaultry root path!");
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(Path("Projects\\Old"))), before);

    // Cancelled: nothing either.
    ui.browseResult.clear();
    Command(ID_CATALOG_SETUP_WORKING);
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(Path("Projects\\Old"))), before);
    EXPECT_EQ(ui.messages, "");
}

TEST_F(WorkingCopiesWindowTest, OpenCopyAndCheckInFromTheList) {
    Show("Projects\\Old");
    // A working folder that does not exist yet, two levels deep.
    ui.browseResult = work / "deep\\er";
    list().SelectOnly({0, 1});
    Command(ID_FILES_SET_WORKING);
    EXPECT_EQ(list().CellText(1, 2), work / "deep\\er");

    list().SelectOnly({0});
    Command(ID_FILES_OPEN_WORKING);
    EXPECT_EQ(ReadFileBytes(work / "deep\\er\\o1.txt"), "original o1.txt");
    EXPECT_EQ(ui.opened, std::vector<std::string>{work / "deep\\er\\o1.txt"});

    list().SelectOnly({1});
    Command(ID_FILES_COPY_TO_WORKING);
    EXPECT_EQ(ModifiedTime(work / "deep\\er\\o2.txt"), kT);

    // Edited, then checked in while the original is locked: kept.
    WriteFileBytes(work / "deep\\er\\o2.txt", "edited");
    SetModifiedTime(work / "deep\\er\\o2.txt", kT + 1);
    {
        win::File lock = win::File::Open(Path("Projects\\Old\\o2.txt"), GENERIC_READ, 0, OPEN_EXISTING);
        ASSERT_TRUE(lock.valid());
        Command(ID_FILES_CHECK_IN_REMOVE);
    }
    EXPECT_EQ(ReadFileBytes(work / "deep\\er\\o2.txt"), "edited");
    ASSERT_EQ(Lines().size(), 1u) << ui.messages;
    EXPECT_EQ(Lines()[0].rfind("\\Projects\\Old\\o2.txt can not be updated: ", 0), 0u) << ui.messages;

    ui.messages.clear();
    Command(ID_FILES_CHECK_IN);
    EXPECT_EQ(ui.messages, "\\Projects\\Old\\o2.txt is updated.\r\n");
    EXPECT_EQ(ReadFileBytes(Path("Projects\\Old\\o2.txt")), "edited");
    EXPECT_EQ(Index("Projects\\Old")[1].modified, kT + 1);
}
