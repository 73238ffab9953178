#include <vector>

#include "common/window_messages.h"
#include "res/resource.h"
#include "tests/windows/frame_fixture.h"

namespace {

// A main window that records the commands it receives.
class RecordingFrame : public CMainFrame {
public:
    std::vector<UINT> commands;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
        return CMainFrame::WndProc(msg, wp, lp);
    }
};

// The icon is still in the notification area when it can be modified.
bool IconShown(const CSystemTray& tray) {
    NOTIFYICONDATAA data = tray.iconData();
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

HWND OpenPopupMenu() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) != "#32768" || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(lp) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Right-clicks the tray icon and types `keys` into the menu, one per tick
// once the menu shows; records the menu's default item.
struct TrayMenuScript {
    explicit TrayMenuScript(std::string k) : keys(std::move(k)) {
        Current() = this;
        timer = SetTimer(nullptr, 0, 60, &Tick);
    }
    ~TrayMenuScript() {
        KillTimer(nullptr, timer);
        Current() = nullptr;
    }
    static TrayMenuScript*& Current() {
        static TrayMenuScript* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TrayMenuScript* self = Current();
        HWND menu = self ? OpenPopupMenu() : nullptr;
        if (!menu) return;
        if (self->typed == 0) {
            HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
            self->defaultPosition = static_cast<int>(GetMenuDefaultItem(items, TRUE, 0));
            self->firstItem = GetMenuItemID(items, 0);
        }
        if (self->typed < self->keys.size()) PostMessageA(menu, WM_CHAR, self->keys[self->typed++], 0);
    }
    std::string keys;
    std::size_t typed = 0;
    int defaultPosition = -2;
    UINT firstItem = 0;
    UINT_PTR timer = 0;
};

void RightClick(CSystemTray& tray) { SendMessageA(tray, WM_TRAY_NOTIFY, IDM_TRAY, WM_RBUTTONUP); }

TEST_F(FrameTest, TrayIconComesAndGoesWithTheMainWindow) {
    CSystemTray& tray = frame->tray();
    ASSERT_TRUE(tray.enabled());
    const NOTIFYICONDATAA& data = tray.iconData();
    EXPECT_EQ(data.uID, static_cast<UINT>(IDM_TRAY));
    EXPECT_EQ(data.uCallbackMessage, 1127u);
    EXPECT_STREQ(data.szTip, "Archivon");
    // Archivon gives no parent: the tray's own hidden window receives.
    EXPECT_EQ(data.hWnd, tray.hwnd());
    EXPECT_FALSE(IsWindowVisible(tray));
    EXPECT_TRUE(IconShown(tray));

    // A restarted task bar gets the icon again.
    NOTIFYICONDATAA copy = data;
    Shell_NotifyIconA(NIM_DELETE, &copy);
    ASSERT_FALSE(IconShown(tray));
    SendMessageA(tray, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconShown(tray));

    copy = data;
    frame.reset();
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &copy));
}

TEST_F(FrameTest, DoubleClickOnTheIconShowsTheMinimisedWindowMaximisedInFront) {
    CSystemTray& tray = frame->tray();
    ShowWindow(*frame, SW_MINIMIZE);
    PumpFor(50);
    ASSERT_TRUE(IsIconic(*frame));
    // Another icon's notice and other mouse messages change nothing.
    SendMessageA(tray, WM_TRAY_NOTIFY, IDM_TRAY + 1, WM_LBUTTONDBLCLK);
    SendMessageA(tray, WM_TRAY_NOTIFY, IDM_TRAY, WM_LBUTTONDOWN);
    PumpFor(50);
    EXPECT_TRUE(IsIconic(*frame));

    SendMessageA(tray, WM_TRAY_NOTIFY, IDM_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PumpUntil([&] { return IsZoomed(*frame) && !IsIconic(*frame); }, 3000));
    EXPECT_EQ(GetForegroundWindow(), frame->hwnd());
}

TEST_F(FrameTest, TrayMenuShowsItsDefaultInBoldAndOpensTheSettingsAtTheirPage) {
    RecordingFrame main;
    ASSERT_TRUE(main.Create());
    ShowWindow(main, SW_SHOW);
    // The settings sheet opens at the item's page; it is cancelled at once.
    std::vector<int> pages;
    SetDialogHook([&](Dialog& page) {
        HWND sheet = GetParent(page.hwnd());
        pages.push_back(PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet)));
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    {
        TrayMenuScript script("sg");  // "&Settings", then "&General"
        RightClick(main.tray());
        PumpFor(100);
        EXPECT_EQ(script.firstItem, static_cast<UINT>(ID_SHOW_ARCHIVON));
        EXPECT_EQ(script.defaultPosition, 0);
    }
    EXPECT_EQ(main.commands, std::vector<UINT>{ID_SETTINGS_GENERAL});
    {
        TrayMenuScript script("ss");  // "&Settings", then "&System"
        RightClick(main.tray());
        PumpFor(100);
    }
    SetDialogHook({});
    EXPECT_EQ(main.commands, (std::vector<UINT>{ID_SETTINGS_GENERAL, ID_SETTINGS_SYSTEM}));
    EXPECT_EQ(pages, (std::vector<int>{0, 1})) << "General, then SYSTEM";
    // The default item, run by a double click, is "Show Archivon".
    SendMessageA(main.tray(), WM_TRAY_NOTIFY, IDM_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_EQ(main.commands.back(), static_cast<UINT>(ID_SHOW_ARCHIVON));
}

TEST_F(FrameTest, ExitFromTheTrayWhileATransferRunsKeepsProgramAndIcon) {
    bool running = true;
    frame->transfersRunning = [&] { return running; };
    MessageBoxRecorder boxes;
    {
        TrayMenuScript script("x");  // "E&xit"
        RightClick(frame->tray());
        PumpFor(150);
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "There are download jobs still runing, You can not exit Archivon now.");
    EXPECT_EQ(boxes.boxes[0].caption, "Archivon");
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(IsWindow(*frame));
    EXPECT_TRUE(IconShown(frame->tray()));

    // Once nothing transfers, the close is allowed without a word.
    running = false;
    EXPECT_TRUE(frame->MayClose());
    frame->transfersRunning = nullptr;
    EXPECT_TRUE(frame->MayClose());
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
