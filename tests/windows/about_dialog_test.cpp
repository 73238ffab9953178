#include "tests/windows/frame_fixture.h"

#include "res/resource.h"

TEST_F(FrameTest, AboutShowsTheVersionLineOfTheTitle) {
    std::string caption, version;
    int seen = 0;
    SetDialogHook([&](Dialog& d) {
        ++seen;
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
}
