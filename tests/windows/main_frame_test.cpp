#include "tests/windows/frame_fixture.h"

#include "res/resource.h"
#include "shell/panes.h"

namespace {

TEST_F(FrameTest, OpensMaximisedWithTitleTreeAndTabs) {
    char title[64] = {};
    GetWindowTextA(*frame, title, sizeof title);
    EXPECT_STREQ(title, "Archivon ver 1.10   ");
    EXPECT_TRUE(IsZoomed(*frame));
    EXPECT_EQ(tree().Label(tree().Root()), "Root");
    EXPECT_NE(Item("UnknownCatalog"), nullptr);
    HWND tab = frame->bottom()->tab();
    ASSERT_EQ(TabCtrl_GetItemCount(tab), 3);
    EXPECT_EQ(TabText(tab, 0), "Messages");
    EXPECT_EQ(TabText(tab, 1), "Download Jobs");
    EXPECT_EQ(TabText(tab, 2), "Descriptions");
    EXPECT_TRUE(GetWindowLongA(tab, GWL_STYLE) & TCS_BOTTOM);
    EXPECT_EQ(frame->bottom()->currentTab(), 0);
    EXPECT_EQ(SendMessageA(frame->toolBar(), TB_BUTTONCOUNT, 0, 0), 18);
    EXPECT_EQ(SendMessageA(frame->statusBar(), SB_GETPARTS, 0, 0), 5);
}

TEST_F(FrameTest, StatusBarStartsWithItsCatalogHint) {
    CMainFrame other;
    ASSERT_TRUE(other.Create());
    char text[128] = {};
    SendMessageA(other.statusBar(), SB_GETTEXTA, CMainFrame::kStatusCatalogPane, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Here displays current selected catalog");
}

TEST_F(FrameTest, ResizeRestoresRowAndColumnProportions) {
    ShowWindow(*frame, SW_RESTORE);
    SetWindowPos(*frame, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOMOVE);
    PumpFor(20);
    const RECT client = frame->ClientRect();
    EXPECT_EQ(frame->rows().PaneSize(0), client.bottom * 618 / 1000);
    EXPECT_EQ(frame->rows().PaneSize(1), client.bottom * 382 / 1000);

    CSplitterView& view = frame->topPane().view();
    const RECT v = view.ClientRect();
    int c0, c1;
    CSplitterView::ColumnWidths(v.right, c0, c1);
    EXPECT_EQ(view.columns().PaneSize(0), c0);
    EXPECT_EQ(view.columns().PaneSize(1), c1);
    CSplitterView::ColumnWidths(401, c0, c1);
    EXPECT_EQ(c0, 101);
    EXPECT_EQ(c1, 300);
    CSplitterView::ColumnWidths(10, c0, c1);
    EXPECT_EQ(c1, 20);
    EXPECT_EQ(c0, 0);

    // A split the user dragged is undone by the next resize.
    const_cast<SplitterWindow&>(frame->rows()).SetPaneSize(0, 40);
    SetWindowPos(*frame, nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOMOVE);
    PumpFor(20);
    EXPECT_EQ(frame->rows().PaneSize(0), frame->ClientRect().bottom * 618 / 1000);
}

TEST_F(FrameTest, AddMessageShowsMessagesAndTrimsTenLinesAtTheLimit) {
    CEditCtrlView& pane = *frame->bottom();
    pane.SelectTab(1);
    EXPECT_EQ(pane.currentTab(), 1);
    frame->AddMessage("first\r\n");
    EXPECT_EQ(pane.currentTab(), 0);
    HWND edit = pane.MessagesEdit();
    const auto limit = static_cast<int>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
    ASSERT_GT(limit, 400);
    std::string text;
    for (int i = 0; static_cast<int>(text.size()) < limit - 300; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetWindowTextA(edit, text.c_str());
    frame->AddMessage("new\r\n");
    char buf[16] = {};
    GetWindowTextA(edit, buf, 8);
    EXPECT_STREQ(buf, "line 10");
    const int length = GetWindowTextLengthA(edit);
    std::string all(length + 1, '\0');
    GetWindowTextA(edit, all.data(), length + 1);
    all.resize(length);
    EXPECT_EQ(all.substr(all.size() - 5), "new\r\n");

    // SelectTab of the shown tab does nothing; an unknown index shows none.
    pane.SelectTab(0);
    EXPECT_EQ(pane.currentTab(), 0);
    pane.SelectTab(7);
    EXPECT_EQ(pane.currentPage(), nullptr);
}

TEST_F(FrameTest, EditCommandsReachOnlyLabelEditorsAndDescriptions) {
    CEditCtrlView& pane = *frame->bottom();
    OpenClipboard(*frame);
    EmptyClipboard();
    const char text[] = "pasted";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(mem), text, sizeof text);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();

    frame->AddMessage("log\r\n");
    SendMessageA(*frame, WM_COMMAND, ID_EDIT_PASTE, 0);
    EXPECT_EQ(GetWindowTextLengthA(pane.MessagesEdit()), 5) << "Messages is never a paste target";

    pane.SelectTab(2);
    SendMessageA(*frame, WM_COMMAND, ID_EDIT_PASTE, 0);
    char buf[32] = {};
    GetWindowTextA(pane.DescriptionsEdit(), buf, sizeof buf);
    EXPECT_STREQ(buf, "pasted");
}

}  // namespace
