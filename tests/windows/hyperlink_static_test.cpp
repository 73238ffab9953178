#include "common/hyperlink_static.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "common/open_url.h"

namespace {
class RecordingLauncher : public UrlLauncher {
public:
    INT_PTR ShellOpen(const std::string& address, int show) override {
        opened.push_back(address);
        shows.push_back(show);
        return 42;
    }
    UINT Run(const std::string&, int) override { return 0; }
    std::vector<std::string> opened;
    std::vector<int> shows;
};

struct Host {
    Host() {
        parent = CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr,
                               nullptr, nullptr);
        link = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 200, 20, parent, nullptr, nullptr,
                             nullptr);
    }
    ~Host() { DestroyWindow(parent); }
    HWND parent, link;
};
}  // namespace

TEST(HyperlinkStatic, TakesOverAStaticControl) {
    Host host;
    ASSERT_NE(host.link, nullptr);
    CHyperlinkStatic link;
    link.SetUrl("http://www.tallowind.example/");
    ASSERT_TRUE(link.Attach(host.link));
    char text[256] = {};
    GetWindowTextA(host.link, text, sizeof text);
    EXPECT_STREQ(text, "http://www.tallowind.example/");
    EXPECT_TRUE(GetWindowLongA(host.link, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(link.cursor(), LoadCursor(nullptr, IDC_HAND));
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(host.link, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_TRUE(lf.lfUnderline);
    link.SetUnderline(false);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(host.link, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_FALSE(lf.lfUnderline);

    // The tool tip shows the address, and follows SetUrl.
    ASSERT_NE(link.tooltip(), nullptr);
    link.SetUrl("http://www.tallowind.example/new");
    char tip[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = host.link;
    ti.uId = 1;
    ti.lpszText = tip;
    SendMessageA(link.tooltip(), TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(tip, "http://www.tallowind.example/new");
    // A control that has a text keeps it and takes it as the address.
    CHyperlinkStatic named;
    HWND labelled = CreateWindowA("STATIC", "http://a/", WS_CHILD, 0, 40, 100, 20, host.parent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(named.Attach(labelled));
    EXPECT_EQ(named.url(), "http://a/");
}

TEST(HyperlinkStatic, HoverCaptureCursorAndClick) {
    Host host;
    CHyperlinkStatic link;
    link.SetUrl("http://www.tallowind.example/");
    ASSERT_TRUE(link.Attach(host.link));
    EXPECT_EQ(link.TextColour(), RGB(0, 0, 255));
    SendMessageA(host.link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(link.hovering());
    EXPECT_EQ(link.TextColour(), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetCapture(), host.link);
    SendMessageA(host.link, WM_SETCURSOR, reinterpret_cast<WPARAM>(host.link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    // Still inside: nothing changes.
    SendMessageA(host.link, WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
    EXPECT_TRUE(link.hovering());

    RecordingLauncher launcher;
    SetUrlLauncher(&launcher);
    SendMessageA(host.link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(host.link, WM_LBUTTONUP, 0, MAKELPARAM(300, 5));  // released outside: no click
    SetUrlLauncher(nullptr);
    EXPECT_EQ(launcher.opened, std::vector<std::string>{"http://www.tallowind.example/"});
    EXPECT_EQ(launcher.shows, std::vector<int>{SW_SHOWNORMAL});

    SendMessageA(host.link, WM_MOUSEMOVE, 0, MAKELPARAM(-3 & 0xFFFF, 5));
    EXPECT_FALSE(link.hovering());
    EXPECT_EQ(link.TextColour(), RGB(0, 0, 255));
    EXPECT_NE(GetCapture(), host.link);
}
