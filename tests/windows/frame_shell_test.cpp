#include "common/open_url.h"
#include "common/paths.h"
#include "common/win/file_system.h"
#include "res/resource.h"
#include "tests/windows/frame_fixture.h"

namespace {

class RecordingLauncher : public UrlLauncher {
public:
    INT_PTR ShellOpen(const std::string& address, int) override {
        opened.push_back(address);
        return 42;
    }
    UINT Run(const std::string&, int) override { return 0; }
    std::vector<std::string> opened;
};

std::string StatusText(HWND status, int pane) {
    char text[256] = {};
    if (LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, pane, 0)) < sizeof text)
        SendMessageA(status, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(FrameTest, ToolbarButtonsGiveFlyByPromptsAndTips) {
    HWND toolbar = frame->toolBar();
    RECT button;
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
    POINT over{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(toolbar, &over);
    SetForegroundWindow(*frame);
    Mouse({over.x + 40, over.y + 300}, 0);
    PumpFor(50);
    Mouse(over, 0);
    EXPECT_TRUE(PumpUntil([&] { return StatusText(frame->statusBar(), 0) == "Add a sub catalog"; }, 3000))
        << StatusText(frame->statusBar(), 0);

    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tips) != FALSE; }, 5000));
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(SendMessageA(tips, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
    char tip[128] = {};
    tool.lpszText = tip;
    SendMessageA(tips, TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tip, "Add a sub catalog");

    // Leaving the buttons puts the idle prompt back.
    Mouse({over.x + 40, over.y + 300}, 0);
    EXPECT_TRUE(PumpUntil([&] { return StatusText(frame->statusBar(), 0) == "Ready"; }, 3000));
}

TEST_F(FrameTest, CatalogPaneIsRaised) {
    const auto type = [&] { return HIWORD(SendMessageA(frame->statusBar(), SB_GETTEXTLENGTHA, 1, 0)); };
    EXPECT_EQ(type() & SBT_POPOUT, SBT_POPOUT);
    frame->ShowCurrentCatalog();
    EXPECT_EQ(type() & SBT_POPOUT, SBT_POPOUT);
    // The message pane stays flat.
    EXPECT_EQ(HIWORD(SendMessageA(frame->statusBar(), SB_GETTEXTLENGTHA, 0, 0)) & SBT_POPOUT, 0);
}

TEST_F(FrameTest, HelpOpensThePageBesideTheProgramAtItsTopic) {
    RecordingLauncher launcher;
    SetUrlLauncher(&launcher);
    MessageBoxRecorder boxes;
    const std::string page = paths::HelpFilePathFor(win::ModuleFileName());
    DeleteFileA(page.c_str());
    SendMessageA(*frame, WM_COMMAND, ID_HELP_CONTENT, 0);
    EXPECT_TRUE(launcher.opened.empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, page + " was not found.");

    WriteFileBytes(page, "<html></html>");
    SendMessageA(*frame, WM_COMMAND, ID_HELP_CONTENT, 0);
    DeleteFileA(page.c_str());
    SetUrlLauncher(nullptr);
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], paths::FileUrl(page, "context-11"));
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST(Manifest, CommonControlsSixAreInUse) {
    // Version 6 is the side-by-side assembly the manifest asks for (its
    // version resource cannot tell: Wine's says 5.81).
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    std::string path = paths::ToUpperAscii(win::ModuleFileName(comctl));
    EXPECT_NE(path.find("COMMON-CONTROLS_6595B64144CCF1DF_6."), std::string::npos) << path;
}

}  // namespace
