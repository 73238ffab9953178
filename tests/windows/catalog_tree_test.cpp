#include "tests/windows/frame_fixture.h"

#include "res/resource.h"

namespace {

class CatalogTreeTest : public FrameTest {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        for (const char* f : {"Projects", "Projects\\2003", "Projects\\2003\\Deep", "Letters"}) MakeFolder(f);
    }
    void Select(HTREEITEM item) {
        TreeView_SelectItem(tree(), item);
        PumpFor(20);
    }
};

TEST_F(CatalogTreeTest, FillsFromDiskAndBuildsPaths) {
    HTREEITEM root = tree().Root();
    EXPECT_EQ(tree().Label(root), "Root");
    EXPECT_TRUE(TreeView_GetItemState(tree(), root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(FolderExists(vault + "\\UnknownCatalog"));
    ASSERT_NE(Item("UnknownCatalog"), nullptr);
    HTREEITEM deep = Item("Projects\\2003\\Deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(tree().CatalogPath(deep), vault + "\\Projects\\2003\\Deep");
    EXPECT_EQ(tree().CatalogPath(root), vault);

    // Pre-order walk visits every catalog once; a subtree walk stays inside.
    int count = 0;
    for (HTREEITEM i = root; i; i = tree().NextCatalog(i)) ++count;
    EXPECT_EQ(count, 6);
    HTREEITEM projects = Item("Projects");
    int inside = 0;
    for (HTREEITEM i = projects; i; i = tree().NextInSubtree(i, projects)) ++inside;
    EXPECT_EQ(inside, 3);

    Select(deep);
    EXPECT_EQ(frame->list()->currentCatalog(), vault + "\\Projects\\2003\\Deep");
    char status[MAX_PATH] = {};
    SendMessageA(frame->statusBar(), SB_GETTEXTA, CMainFrame::kStatusCatalogPane, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "\\Projects\\2003\\Deep");
}

TEST_F(CatalogTreeTest, AddCatalogAndCancelledEditCreatesNewCatalog) {
    Select(Item("Letters"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_ADD, 0);
    ASSERT_NE(tree().EditControl(), nullptr);
    TreeView_EndEditLabelNow(tree(), TRUE);
    PumpFor(50);
    EXPECT_TRUE(FolderExists(vault + "\\Letters\\New Catalog"));
    EXPECT_NE(Item("Letters\\New Catalog"), nullptr);

    // A second add under the same catalog only beeps.
    Select(Item("Letters"));
    const int beeps = frame->beepCount();
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_ADD, 0);
    EXPECT_EQ(frame->beepCount(), beeps + 1);
    EXPECT_EQ(tree().EditControl(), nullptr);
    int children = 0;
    for (HTREEITEM c = TreeView_GetChild(tree(), Item("Letters")); c; c = TreeView_GetNextSibling(tree(), c))
        ++children;
    EXPECT_EQ(children, 1);
}

TEST_F(CatalogTreeTest, RenameOntoSiblingBeepsAndReopensEdit) {
    Select(Item("Letters"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_RENAME, 0);
    HWND edit = tree().EditControl();
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Projects");
    const int beeps = frame->beepCount();
    TreeView_EndEditLabelNow(tree(), FALSE);
    PumpFor(50);
    EXPECT_EQ(frame->beepCount(), beeps + 1);
    EXPECT_NE(Item("Letters"), nullptr);
    EXPECT_TRUE(FolderExists(vault + "\\Letters"));
    EXPECT_NE(tree().EditControl(), nullptr) << "the edit opens again";

    SetWindowTextA(tree().EditControl(), "Mail");
    TreeView_EndEditLabelNow(tree(), FALSE);
    PumpFor(50);
    EXPECT_TRUE(FolderExists(vault + "\\Mail"));
    EXPECT_FALSE(FolderExists(vault + "\\Letters"));
    EXPECT_EQ(frame->list()->currentCatalog(), vault + "\\Mail");

    // A label that would name another place is refused like a clash.
    Select(Item("Mail"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_RENAME, 0);
    for (const char* bad : {"..\\Outside", "a\\b", "c:d", ".."}) {
        ASSERT_NE(tree().EditControl(), nullptr) << bad;
        SetWindowTextA(tree().EditControl(), bad);
        TreeView_EndEditLabelNow(tree(), FALSE);
        PumpFor(50);
        EXPECT_TRUE(FolderExists(vault + "\\Mail")) << bad;
        EXPECT_EQ(tree().Label(Item("Mail")), "Mail") << bad;
    }
    TreeView_EndEditLabelNow(tree(), TRUE);
    PumpFor(50);
    EXPECT_FALSE(FolderExists(dir / "Outside"));

    // The top item is never renamed by the command.
    Select(tree().Root());
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_RENAME, 0);
    EXPECT_EQ(tree().EditControl(), nullptr);
}

TEST_F(CatalogTreeTest, DeleteRefusesSystemItemsAndNonEmptyCatalogs) {
    MessageBoxRecorder boxes(IDYES);
    Select(tree().Root());
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_DELETE, 0);
    Select(Item("UnknownCatalog"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_DELETE, 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const auto& b : boxes.boxes) {
        EXPECT_EQ(b.text, "This system item can not be deleted!");
        EXPECT_EQ(b.caption, "Archivon");
    }
    EXPECT_TRUE(FolderExists(vault + "\\UnknownCatalog"));

    boxes.boxes.clear();
    Select(Item("Projects"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_DELETE, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u) << "refused without asking";
    EXPECT_EQ(boxes.boxes[0].text, "The catalog is not empty !");

    // A catalog whose folder still holds a file: asked, then refused, and
    // its index is kept even though the list shows no documents.
    boxes.boxes.clear();
    WriteFileBytes(vault + "\\Letters\\keep.txt", "x");
    WriteFileBytes(vault + "\\Letters\\_doc_info.dat", "index");
    Select(Item("Letters"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_DELETE, 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "You really want to delete this item \"Letters\"");
    EXPECT_EQ(boxes.boxes[0].type, UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(boxes.boxes[1].text, "The catalog is not empty !");
    EXPECT_TRUE(FileExists(vault + "\\Letters\\keep.txt"));
    EXPECT_EQ(ReadFileBytes(vault + "\\Letters\\_doc_info.dat"), "index");
    EXPECT_NE(Item("Letters"), nullptr);

    // An empty one goes, with its index file.
    boxes.boxes.clear();
    DeleteFileA((vault + "\\Letters\\keep.txt").c_str());
    WriteFileBytes(vault + "\\Letters\\_doc_info.dat", "");
    Select(Item("Letters"));
    SendMessageA(*frame, WM_COMMAND, ID_CATALOG_DELETE, 0);
    EXPECT_FALSE(FolderExists(vault + "\\Letters"));
    EXPECT_EQ(Item("Letters"), nullptr);
}

TEST_F(CatalogTreeTest, DragMoveRefusesOwnSubtreeAndMovesFolders) {
    MessageBoxRecorder boxes(IDYES);
    HTREEITEM projects = Item("Projects");
    EXPECT_FALSE(tree().DropCatalog(projects, projects));
    EXPECT_FALSE(tree().DropCatalog(projects, Item("Projects\\2003\\Deep")));
    EXPECT_TRUE(boxes.boxes.empty()) << "no question for a drop into itself";

    WriteFileBytes(vault + "\\Projects\\2003\\plan.txt", "plan");
    ASSERT_TRUE(tree().DropCatalog(projects, Item("Letters")));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "You really want to move this catalog?");
    EXPECT_FALSE(FolderExists(vault + "\\Projects"));
    EXPECT_EQ(ReadFileBytes(vault + "\\Letters\\Projects\\2003\\plan.txt"), "plan");
    EXPECT_EQ(Item("Projects"), nullptr);
    HTREEITEM moved = Item("Letters\\Projects\\2003\\Deep");
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(tree().Selected(), Item("Letters\\Projects"));
    EXPECT_EQ(frame->list()->currentCatalog(), vault + "\\Letters\\Projects");

    // Into a catalog that already has a sub-catalog of that name: nothing
    // after the question.
    MakeFolder("Projects");
    boxes.boxes.clear();
    EXPECT_FALSE(tree().DropCatalog(Item("Letters\\Projects"), tree().Root()));
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(FolderExists(vault + "\\Letters\\Projects\\2003"));
    EXPECT_NE(Item("Letters\\Projects"), nullptr);
}

}  // namespace

namespace {

// A "BaseDir" that names a file: the program says so and carries on.
class FileAsVaultTest : public FrameTest {
protected:
    void Prepare() override { WriteFileBytes(vault, "not a folder"); }
};

TEST_F(FileAsVaultTest, ReportsAndKeepsTheFile) {
    EXPECT_EQ(tree().Label(tree().Root()), "Root");
    EXPECT_EQ(ReadFileBytes(vault), "not a folder");
    const HWND edit = frame->bottom()->MessagesEdit();
    char text[512] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_NE(std::string(text).find("cannot be used"), std::string::npos) << text;
}

}  // namespace

namespace {

class CatalogDragTest : public FrameTest {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        MakeFolder("Source");
        MakeFolder("Target");
    }
    POINT ItemCentre(HTREEITEM item) {
        RECT r{};
        TreeView_GetItemRect(tree(), item, &r, TRUE);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tree(), &p);
        return p;
    }
};

TEST_F(CatalogDragTest, MouseDragMovesTheCatalog) {
    MessageBoxRecorder boxes(IDYES);
    ASSERT_TRUE(MouseDrag(ItemCentre(Item("Source")), ItemCentre(Item("Target")), [&] { return tree().Dragging(); }))
        << "the drag starts after the hold";
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "You really want to move this catalog?");
    EXPECT_TRUE(FolderExists(vault + "\\Target\\Source"));
    EXPECT_NE(Item("Target\\Source"), nullptr);
}

TEST_F(CatalogDragTest, QuickClickIsNoDrag) {
    MessageBoxRecorder boxes(IDYES);
    SetForegroundWindow(*frame);
    const POINT from = ItemCentre(Item("Source"));
    Mouse(from, 0);
    PumpFor(50);
    Mouse(from, MOUSEEVENTF_LEFTDOWN);
    Mouse({from.x + 12, from.y + 12}, 0);
    Mouse({from.x + 12, from.y + 12}, MOUSEEVENTF_LEFTUP);
    PumpFor(600);
    EXPECT_FALSE(tree().Dragging());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(FolderExists(vault + "\\Source"));
}

}  // namespace
