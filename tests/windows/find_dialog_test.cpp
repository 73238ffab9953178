#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"
#include "shell/find_dialog.h"
#include "shell/list_ctrl_view.h"
#include "shell/tree_ctrl_view.h"
#include "tests/windows/frame_fixture.h"
#include "vault/document_index.h"

namespace {

class FindDialogTest : public FrameTest {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        for (const char* c : {"plan 2003", "planning", "my plan", "Docs"}) MakeFolder(c);
        Put("Docs", "a.txt", "nothing", "budget plan");
        Put("Docs", "b.txt", "nothing", "the plan");
        Put("Docs", "c.txt", "a plan inside");
    }
    void Put(const std::string& catalog, const std::string& name, const std::string& content,
             const std::string& description = "") {
        const std::string folder = vault + "\\" + catalog;
        WriteFileBytes(folder + "\\" + name, content);
        vault::DocumentRecord r;
        ASSERT_TRUE(vault::MakeDocumentRecord(folder + "\\" + name, vault, r));
        r.description = description;
        ASSERT_TRUE(vault::AppendToIndex(ui, {r}, folder));
    }
    CFindDialog* Open() {
        SendMessageA(*frame, WM_COMMAND, ID_EDIT_FIND, 0);
        CFindDialog* d = frame->findDialog();
        return d && d->isOpen() ? d : nullptr;
    }
    // Sets the fields as a user would: text, then the boxes by mask.
    void Fill(CFindDialog& d, const std::string& text, std::uint32_t mask) {
        SetDlgItemTextA(d, IDC_FIND_TEXT, text.c_str());
        const auto o = vault::FindOptions::FromMask(mask);
        const std::pair<int, bool> boxes[] = {{IDC_FIND_TITLE, o.title},        {IDC_FIND_DESCRIPTION, o.description},
                                              {IDC_FIND_NAME, o.fileName},       {IDC_FIND_CONTENT, o.content},
                                              {IDC_FIND_MATCH_CASE, o.matchCase}, {IDC_FIND_WHOLE_WORD, o.wholeWord}};
        for (const auto& [id, on] : boxes) CheckDlgButton(d, id, on ? BST_CHECKED : BST_UNCHECKED);
    }
    void Press(CFindDialog& d) {
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)));
    }
    CListCtrlView& list() { return *frame->list(); }
    UINT RowState(int row, UINT mask) { return ListView_GetItemState(list(), row, mask); }
    std::string MessagesText() { return WindowText(frame->bottom()->MessagesEdit()); }

    RecordingUi ui;
};

}  // namespace

TEST_F(FindDialogTest, FieldsThenTitlesOnePerPressUntilItCloses) {
    CFindDialog* d = Open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(WindowText(*d), "Find");
    EXPECT_EQ(d->ItemText(IDC_FIND_TEXT), "");
    EXPECT_TRUE(d->IsChecked(IDC_FIND_TITLE) && d->IsChecked(IDC_FIND_DESCRIPTION) && d->IsChecked(IDC_FIND_NAME));
    EXPECT_FALSE(d->IsChecked(IDC_FIND_CONTENT) || d->IsChecked(IDC_FIND_MATCH_CASE) ||
                 d->IsChecked(IDC_FIND_WHOLE_WORD));
    for (int id : {IDC_FIND_DIRECTION, IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_HELP})
        EXPECT_FALSE(IsWindowVisible(d->Item(id))) << id;
    EXPECT_FALSE(IsWindowEnabled(d->Item(IDOK)));
    EXPECT_EQ(GetWindowLongA(d->Item(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON, static_cast<LONG>(BS_DEFPUSHBUTTON));
    SetDlgItemTextA(*d, IDC_FIND_TEXT, "plan");
    EXPECT_TRUE(IsWindowEnabled(d->Item(IDOK)));
    EXPECT_EQ(Open(), d);  // already open: the same dialog

    Fill(*d, "plan", 0x12);  // titles, whole words
    std::vector<HTREEITEM> expected;
    for (HTREEITEM i = tree().Root(); i; i = tree().NextCatalog(i)) {
        const std::string label = tree().Label(i);
        if (label == "plan 2003" || label == "my plan") expected.push_back(i);
    }
    for (HTREEITEM want : expected) {
        Press(*d);
        ASSERT_TRUE(d->isOpen());
        EXPECT_EQ(tree().Selected(), want);
        EXPECT_EQ(list().currentCatalog(), tree().CatalogPath(want));
    }
    Press(*d);
    EXPECT_FALSE(d->isOpen());
    EXPECT_EQ(frame->lastFindText(), "plan");
    EXPECT_EQ(frame->lastFindMask(), 0x12u);

    // Cancel keeps what the last completed search looked for.
    d = Open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ItemText(IDC_FIND_TEXT), "plan");
    EXPECT_TRUE(d->IsChecked(IDC_FIND_WHOLE_WORD));
    EXPECT_FALSE(d->IsChecked(IDC_FIND_NAME));
    Fill(*d, "other", 0x70);
    SendMessageA(*d, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(d->isOpen());
    d = Open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ItemText(IDC_FIND_TEXT), "plan");
    EXPECT_EQ(frame->lastFindMask(), 0x12u);
}

TEST_F(FindDialogTest, DocumentHitsHighlightTheRowAndMoveTheDialogAway) {
    CFindDialog* d = Open();
    ASSERT_NE(d, nullptr);
    Fill(*d, "plan", 0x20 | 0x80);
    // Put the dialog where the first rows of the list are.
    RECT listRect;
    GetWindowRect(list(), &listRect);
    SetWindowPos(*d, nullptr, listRect.left, listRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    Press(*d);
    ASSERT_TRUE(d->isOpen());
    EXPECT_EQ(tree().Label(tree().Selected()), "Docs");
    EXPECT_EQ(list().currentCatalog(), vault + "\\Docs");
    EXPECT_EQ(RowState(0, LVIS_DROPHILITED), static_cast<UINT>(LVIS_DROPHILITED));
    EXPECT_EQ(RowState(1, LVIS_DROPHILITED), 0u);
    EXPECT_EQ(ListView_GetSelectedCount(list()), 0u);
    RECT row, dialog, overlap;
    ASSERT_TRUE(ListView_GetItemRect(list(), 0, &row, LVIR_LABEL));
    MapWindowPoints(list(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    GetWindowRect(*d, &dialog);
    EXPECT_FALSE(IntersectRect(&overlap, &row, &dialog));
    EXPECT_EQ(MessagesText(), "");

    Press(*d);
    EXPECT_EQ(RowState(0, LVIS_DROPHILITED), 0u);
    EXPECT_EQ(RowState(1, LVIS_DROPHILITED), static_cast<UINT>(LVIS_DROPHILITED));

    Press(*d);
    EXPECT_EQ(RowState(2, LVIS_DROPHILITED), static_cast<UINT>(LVIS_DROPHILITED));
    EXPECT_NE(MessagesText().find("Occurrence is found in File c.txt 's content\n"), std::string::npos);
    Press(*d);
    EXPECT_FALSE(d->isOpen());
    // Showing another catalog takes the highlight away.
    TreeView_SelectItem(tree(), tree().Root());
    EXPECT_EQ(list().highlightedItem(), -1);
}

TEST_F(FindDialogTest, EscStopsASearchAndKeepsTheStoredText) {
    CFindDialog* d = Open();
    ASSERT_NE(d, nullptr);
    Fill(*d, "inside", 0x80);
    HTREEITEM before = tree().Selected();
    PostMessageA(d->Item(IDC_FIND_TEXT), WM_KEYDOWN, VK_ESCAPE, 0);
    Press(*d);
    PumpFor(50);
    ASSERT_TRUE(d->isOpen());
    EXPECT_EQ(tree().Selected(), before);
    EXPECT_EQ(frame->lastFindText(), "");
    Press(*d);
    EXPECT_EQ(RowState(2, LVIS_DROPHILITED), static_cast<UINT>(LVIS_DROPHILITED));
    SendMessageA(*d, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(frame->lastFindText(), "");
}

TEST_F(FindDialogTest, ASearchedCatalogThatGoesLetsTheSearchGoOn) {
    CFindDialog* d = Open();
    ASSERT_NE(d, nullptr);
    Fill(*d, "plan", 0x10);
    Press(*d);
    HTREEITEM first = tree().Selected();
    ASSERT_NE(first, nullptr);
    TreeView_DeleteItem(tree(), first);
    // The two other titles with "plan", then the end.
    int presses = 0;
    while (d->isOpen() && presses < 5) {
        Press(*d);
        ++presses;
    }
    EXPECT_FALSE(d->isOpen());
    EXPECT_EQ(presses, 3);
}

TEST_F(FindDialogTest, IntegrityCheckingRefreshesTheShownCatalog) {
    WriteFileBytes(vault + "\\Docs\\orphan.txt", "o");
    DeleteFileA((vault + "\\Docs\\b.txt").c_str());
    TreeView_SelectItem(tree(), Item("Docs"));
    ASSERT_EQ(list().RecordCount(), 3);
    SendMessageA(*frame, WM_COMMAND, ID_INTEGRITY_CHECK, 0);
    ASSERT_EQ(list().RecordCount(), 3);
    EXPECT_EQ(list().CellText(1, 0), "c.txt");
    EXPECT_EQ(list().CellText(2, 0), "orphan.txt");
    const std::string messages = MessagesText();
    EXPECT_NE(messages.find("Orphan file: \"orphan.txt\" found in catalog \\Docs, added to the catalog!\r\n"),
              std::string::npos);
    EXPECT_EQ(messages.substr(messages.size() - 31), "Integrity checking completed.\r\n");
}

TEST(PlaceOffItem, BesideTheItemTowardsTheRoomyHalf) {
    const RECT screen{0, 0, 1000, 800};
    const RECT dialog{100, 100, 300, 200};
    auto same = [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; };
    // Upper left item: right of it and below.
    EXPECT_TRUE(same(PlaceOffItem(dialog, {150, 150, 250, 170}, screen), RECT{270, 190, 470, 290}));
    // Lower right item: left of it and above.
    EXPECT_TRUE(same(PlaceOffItem({650, 550, 850, 650}, {700, 600, 800, 620}, screen), RECT{480, 480, 680, 580}));
    // A row as wide as the screen leaves room only below it.
    EXPECT_TRUE(same(PlaceOffItem(dialog, {0, 150, 1000, 170}, screen), RECT{100, 190, 300, 290}));
    // Not covering: stays.
    EXPECT_TRUE(same(PlaceOffItem(dialog, {500, 500, 600, 520}, screen), dialog));
}
