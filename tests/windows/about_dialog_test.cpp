#include "tests/windows/frame_fixture.h"

#include "res/resource.h"
#include "shell/about_dialog.h"

TEST_F(FrameTest, AboutShowsTheVersionLineOfTheTitle) {
    std::string caption, version, url;
    bool underlined = false;
    int seen = 0;
    SetDialogHook([&](Dialog& d) {
        ++seen;
        auto& about = static_cast<CAboutDialog&>(d);
        url = about.makerLink().url();
        underlined = about.makerLink().underline();
        char buf[128] = {};
        GetWindowTextA(d.hwnd(), buf, sizeof buf);
        caption = buf;
        version = d.ItemText(IDC_ABOUT_VERSION);
        d.End(IDOK);
    });
    SendMessageA(*frame, WM_COMMAND, ID_APP_ABOUT, 0);
    SetDialogHook({});
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(caption, "About Archivon");
    EXPECT_EQ(version, "Archivon ver 1.10   ");
    EXPECT_EQ(url, LoadResString(IDS_HOME_PAGE));
    EXPECT_TRUE(underlined);
}
