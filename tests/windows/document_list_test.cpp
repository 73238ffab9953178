#include <regex>

#include <windows.h>
#include <shlobj.h>

#include "res/resource.h"
#include "tests/windows/frame_fixture.h"
#include "vault/document_index.h"
#include "shell/list_ctrl_view.h"
#include "shell/tree_ctrl_view.h"

namespace {

class DocumentListTest : public FrameTest {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        MakeFolder("Docs");
        MakeFolder("Other");
    }
    CListCtrlView& list() { return *frame->list(); }
    void Show(const std::string& catalog) {
        TreeView_SelectItem(tree(), Item(catalog));
        PumpFor(20);
    }
    // Adds files made outside the vault to the shown catalog.
    void AddDocuments(const std::vector<std::pair<std::string, std::string>>& files) {
        std::vector<std::string> paths;
        for (const auto& [name, content] : files) {
            WriteFileBytes(outside / name, content);
            paths.push_back(outside / name);
        }
        frame->AddFilesToCurrentCatalog(paths);
    }
    void AddCompanion(const std::string& document, const std::string& name) {
        WriteFileBytes(outside / name, "companion of " + document);
        std::string path = outside / name;
        ASSERT_TRUE(list().AddCompanionFile(document, path, list().currentCatalog()));
    }
    vault::DocumentRecords Index(const std::string& catalog) {
        vault::DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(*frame, r, vault + "\\" + catalog));
        return r;
    }
    void Command(UINT id) { SendMessageA(*frame, WM_COMMAND, id, 0); }
    std::string MessagesText() {
        HWND edit = frame->bottom()->MessagesEdit();
        std::string s(GetWindowTextLengthA(edit) + 1, '\0');
        s.resize(GetWindowTextA(edit, s.data(), static_cast<int>(s.size())));
        return s;
    }
    POINT ScreenPoint(HWND w, POINT client) {
        ClientToScreen(w, &client);
        return client;
    }

    TempDir outside;
};

TEST_F(DocumentListTest, ColumnsCellsAndRefresh) {
    Show("Docs");
    AddDocuments({{"a.txt", "12345"}, {"b.doc", ""}});
    ASSERT_EQ(ListView_GetItemCount(list()), 2);
    HWND header = ListView_GetHeader(list());
    ASSERT_EQ(Header_GetItemCount(header), 9);
    char title[64] = {};
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = title;
    col.cchTextMax = sizeof title;
    ASSERT_TRUE(ListView_GetColumn(list(), 8, &col));
    EXPECT_STREQ(title, "Origin");
    EXPECT_EQ(col.cx, 100);

    char cell[260] = {};
    ListView_GetItemText(list(), 0, 0, cell, sizeof cell);
    EXPECT_STREQ(cell, "a.txt");
    ListView_GetItemText(list(), 0, 6, cell, sizeof cell);
    EXPECT_STREQ(cell, "5");
    ListView_GetItemText(list(), 0, 7, cell, sizeof cell);
    EXPECT_STREQ(cell, "N");
    ListView_GetItemText(list(), 0, 4, cell, sizeof cell);
    EXPECT_TRUE(std::regex_match(cell, std::regex("\\d\\d:\\d\\d:\\d\\d,\\d{4}-\\d\\d-\\d\\d"))) << cell;
    ListView_GetItemText(list(), 1, 8, cell, 6);  // cut to the room the list gives
    EXPECT_EQ(std::string(cell), (outside / "b.doc").substr(0, 5));

    // Size and times follow the file, not what the index last said.
    WriteFileBytes(vault + "\\Docs\\a.txt", "1234567");
    ListView_GetItemText(list(), 0, 6, cell, sizeof cell);
    EXPECT_STREQ(cell, "7");

    // A divider double-click gives the column 50 pixels.
    NMHEADERA nm{};
    nm.hdr.hwndFrom = header;
    nm.hdr.idFrom = GetDlgCtrlID(header);
    nm.hdr.code = HDN_DIVIDERDBLCLICKA;
    nm.iItem = 1;
    SendMessageA(list(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(ListView_GetColumnWidth(list(), 1), 50);

    // Message 0x52C reloads the catalog from its index.
    vault::DocumentRecords one = Index("Docs");
    one.resize(1);
    ASSERT_TRUE(vault::SaveIndex(*frame, one, vault + "\\Docs"));
    PostMessageA(list(), 0x52C, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return ListView_GetItemCount(list()) == 1; }, 2000));
}

TEST_F(DocumentListTest, NewNoteAndEncryptedOpen) {
    RecordingUi ui;
    list().SetUi(ui);
    Show("Docs");
    Command(ID_FILES_NEW_NOTE);
    ASSERT_EQ(list().RecordCount(), 1);
    const auto& note = list().documents().records[0];
    EXPECT_TRUE(std::regex_match(note.name, std::regex("Note[0-9A-Fa-f]+\\.txt"))) << note.name;
    EXPECT_EQ(note.workingFolder, "C:\\Temp");
    EXPECT_TRUE(FileExists(vault + "\\Docs\\" + note.name));
    ASSERT_EQ(ui.opened.size(), 1u);

    list().documents().records[0].encoded = 1;
    list().SelectOnly({0});
    Command(ID_FILES_OPEN);
    EXPECT_EQ(ui.opened.size(), 1u) << "nothing more was opened";
    EXPECT_EQ(ui.messages, "\\Docs\\" + note.name + " is encrypted\r\n");

    list().SelectOnly({});
    Command(ID_FILES_OPEN);
    EXPECT_NE(ui.messages.find("No File(s) selected!\r\n"), std::string::npos);
    list().SetUi(*frame);
}

TEST_F(DocumentListTest, RenameOntoExistingNameBeepsAndReopensTheEdit) {
    Show("Docs");
    AddDocuments({{"a.txt", "a"}, {"b.txt", "b"}});
    list().SelectOnly({0});
    Command(ID_FILES_RENAME);
    HWND edit = list().EditControl();
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "b.txt");
    const int beeps = frame->beepCount();
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
    EXPECT_EQ(frame->beepCount(), beeps + 1);
    ASSERT_NE(list().EditControl(), nullptr) << "the edit opens again";
    SetWindowTextA(list().EditControl(), "c.txt");
    SendMessageA(list().EditControl(), WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
    EXPECT_TRUE(FileExists(vault + "\\Docs\\c.txt"));
    EXPECT_FALSE(FileExists(vault + "\\Docs\\a.txt"));
    EXPECT_EQ(Index("Docs")[0].name, "c.txt");
}

TEST_F(DocumentListTest, DeleteTakesCompanionsAlong) {
    MessageBoxRecorder boxes(IDYES);
    Show("Docs");
    AddDocuments({{"page.htm", "<p>"}, {"keep.txt", "k"}});
    AddCompanion("page.htm", "pic.gif");
    ASSERT_TRUE(FileExists(vault + "\\Docs\\pic.gif"));
    list().SelectOnly({0});
    Command(ID_FILES_DELETE);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you really want to delete the selected item(s)?");
    EXPECT_FALSE(FileExists(vault + "\\Docs\\page.htm"));
    EXPECT_FALSE(FileExists(vault + "\\Docs\\pic.gif"));
    EXPECT_EQ(ListView_GetItemCount(list()), 1);
    ASSERT_EQ(Index("Docs").size(), 1u);
    EXPECT_EQ(Index("Docs")[0].name, "keep.txt");
}

TEST_F(DocumentListTest, DescriptionIsStoredWhenLeftAndThePlaceholderNever) {
    Show("Docs");
    AddDocuments({{"a.txt", "a"}, {"b.txt", "b"}});
    HWND edit = frame->bottom()->DescriptionsEdit();

    list().SelectOnly({0});
    Command(ID_FILES_DESCRIPTION);
    EXPECT_EQ(frame->bottom()->currentTab(), 2);
    EXPECT_EQ(GetFocus(), edit);
    char text[512] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_EQ(std::string(text), LoadResString(IDS_DESCRIPTION_HINT));
    SetFocus(list());  // left untouched
    PumpFor(20);
    EXPECT_EQ(Index("Docs")[0].description, "");

    list().SelectOnly({1});
    Command(ID_FILES_DESCRIPTION);
    for (char c : std::string("typed")) SendMessageA(edit, WM_CHAR, c, 0);
    SetFocus(list());
    PumpFor(20);
    EXPECT_EQ(Index("Docs")[1].description, "typed");
    EXPECT_EQ(GetWindowTextLengthA(edit), 0);
    char cell[64] = {};
    ListView_GetItemText(list(), 1, 1, cell, sizeof cell);
    EXPECT_STREQ(cell, "typed");
}

TEST_F(DocumentListTest, PendingDescriptionStaysWithItsDocumentWhenRecordsMove) {
    MessageBoxRecorder boxes(IDYES);
    Show("Docs");
    AddDocuments({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
    HWND edit = frame->bottom()->DescriptionsEdit();
    list().SelectOnly({1});
    Command(ID_FILES_DESCRIPTION);
    for (char c : std::string("about b")) SendMessageA(edit, WM_CHAR, c, 0);
    // A toolbar button takes no focus: the edit still has it when a command
    // removes the record before the one being described.
    list().SelectOnly({0});
    Command(ID_FILES_DELETE);
    SetFocus(list());
    PumpFor(20);
    const auto idx = Index("Docs");
    ASSERT_EQ(idx.size(), 2u);
    EXPECT_EQ(idx[0].name, "b.txt");
    EXPECT_EQ(idx[0].description, "about b");
    EXPECT_EQ(idx[1].description, "");
}

TEST_F(DocumentListTest, DraggingDocumentsOntoACatalogMovesThemWithEverything) {
    Show("Docs");
    AddDocuments({{"one.htm", "1"}, {"two.htm", "2"}, {"three.txt", "3"}});
    AddCompanion("one.htm", "one.gif");
    AddCompanion("two.htm", "two.gif");
    auto& recs = list().documents().records;
    recs[0].description = "first";
    recs[1].workingFolder = "D:\\Work";
    recs[1].encoded = 1;
    ASSERT_TRUE(list().documents().Save());

    list().SelectOnly({0, 1});
    RECT r{};
    ListView_GetItemRect(list(), 0, &r, LVIR_LABEL);
    const POINT from = ScreenPoint(list(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    TreeView_GetItemRect(tree(), Item("Other"), &r, TRUE);
    const POINT to = ScreenPoint(tree(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    ASSERT_TRUE(MouseDrag(from, to, [&] { return list().Dragging(); })) << "the drag starts after the hold";

    EXPECT_EQ(ListView_GetItemCount(list()), 1);
    EXPECT_EQ(Index("Docs").size(), 1u);
    const auto moved = Index("Other");
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0].name, "two.htm");
    EXPECT_EQ(moved[0].workingFolder, "D:\\Work");
    EXPECT_EQ(moved[0].encoded, 1);
    EXPECT_EQ(moved[1].description, "first");
    for (const char* f : {"one.htm", "one.gif", "two.htm", "two.gif"}) {
        EXPECT_TRUE(FileExists(vault + "\\Other\\" + f)) << f;
        EXPECT_FALSE(FileExists(vault + "\\Docs\\" + f)) << f;
    }
}

}  // namespace

namespace {

int ItemIcon(HWND list, int item) {
    LVITEMA lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    ListView_GetItem(list, &lv);
    return lv.iImage;
}

TEST_F(DocumentListTest, EncryptDecryptFollowsEachFlagWithOnePassword) {
    Show("Docs");
    AddDocuments({{"plan.txt", "the plan"}, {"notes.txt", "some notes, longer"}});
    ASSERT_EQ(list().RecordCount(), 2);
    const int plainIcon = ItemIcon(list(), 0);
    int asked = 0;
    SetDialogHook([&](Dialog& d) {
        ++asked;
        EXPECT_EQ(GetWindowTextLengthA(d.Item(1005)), 0) << "the field starts empty";
        SetWindowTextA(d.Item(1005), "secret");
        SendMessageA(d.hwnd(), WM_COMMAND, IDOK, 0);
    });
    list().SelectOnly({0});
    Command(ID_FILES_ENCRYPT);
    EXPECT_EQ(list().CellText(0, 7), "Y");
    EXPECT_EQ(list().CellText(1, 7), "N");
    EXPECT_NE(ReadFileBytes(vault + "\\Docs\\plan.txt"), "the plan");
    const int lockedIcon = ItemIcon(list(), 0);
    EXPECT_NE(lockedIcon, plainIcon);
    EXPECT_EQ(Index("Docs")[0].encoded, 1) << "the index is saved";

    // One encrypted and one plain document swap states with one password.
    list().SelectOnly({0, 1});
    Command(ID_FILES_ENCRYPT);
    SetDialogHook({});
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(list().CellText(0, 7), "N");
    EXPECT_EQ(list().CellText(1, 7), "Y");
    EXPECT_EQ(ReadFileBytes(vault + "\\Docs\\plan.txt"), "the plan");
    EXPECT_EQ(ItemIcon(list(), 0), plainIcon);
    EXPECT_EQ(ItemIcon(list(), 1), lockedIcon);
    const auto saved = Index("Docs");
    EXPECT_EQ(saved[0].encoded, 0);
    EXPECT_EQ(saved[1].encoded, 1);
}

}  // namespace

namespace {

TEST_F(DocumentListTest, FilesDroppedOnTheWindowLandInTheShownCatalog) {
    Show("Other");
    WriteFileBytes(outside / "a.txt", "alpha");
    WriteFileBytes(outside / "b.bin", "beta");
    std::string names = outside / "a.txt";
    names.push_back('\0');
    names += outside / "b.bin";
    names.push_back('\0');
    names.push_back('\0');
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(mem);
    SendMessageA(*frame, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    EXPECT_EQ(ReadFileBytes(vault + "\\Other\\a.txt"), "alpha");
    EXPECT_EQ(ReadFileBytes(vault + "\\Other\\b.bin"), "beta");
    ASSERT_EQ(list().RecordCount(), 2);
    EXPECT_EQ(list().CellText(1, 0), "b.bin");
    EXPECT_TRUE(FileExists(outside / "a.txt")) << "IsRemoveSrc 0 keeps the sources";
}

}  // namespace

namespace {

TEST_F(DocumentListTest, EditsInProgressStayWithTheirCatalogWhenAnotherIsShown) {
    Show("Other");
    AddDocuments({{"x.txt", "x"}});
    Show("Docs");
    AddDocuments({{"a.txt", "a"}, {"b.txt", "b"}});
    HWND edit = frame->bottom()->DescriptionsEdit();
    list().SelectOnly({1});
    Command(ID_FILES_DESCRIPTION);
    for (char c : std::string("about b")) SendMessageA(edit, WM_CHAR, c, 0);
    // The tree changes its selection before it takes the focus.
    Show("Other");
    const auto other = Index("Other");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].name, "x.txt");
    EXPECT_EQ(other[0].description, "");
    EXPECT_EQ(Index("Docs")[1].description, "about b");

    // A name typed in one catalog never renames a file of another.
    Show("Docs");
    SetFocus(list());
    ListView_EditLabel(list(), 0);
    ASSERT_NE(list().EditControl(), nullptr);
    SetWindowTextA(list().EditControl(), "renamed.txt");
    Show("Other");
    PumpFor(50);
    EXPECT_TRUE(FileExists(vault + "\\Other\\x.txt"));
    EXPECT_FALSE(FileExists(vault + "\\Other\\renamed.txt"));
    EXPECT_EQ(Index("Other")[0].name, "x.txt");
}

}  // namespace
