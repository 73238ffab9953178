// A main window over a fresh vault in a temporary folder, for window tests.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "common/settings_store.h"
#include "shell/main_frame.h"
#include "tests/support/test_env.h"

inline std::string TabText(HWND tab, int i) {
    char buf[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    TabCtrl_GetItem(tab, i, &item);
    return buf;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        savedBase_ = ArchivonSettings().GetText("Config", "BaseDir", "");
        vault = dir.path() + "\\Vault";
        ArchivonSettings().SetText("Config", "BaseDir", vault);
        Prepare();
        frame = std::make_unique<CMainFrame>();
        // Never the job file beside the test program.
        frame->jobFilePath = dir / "Archivon.job";
        ASSERT_TRUE(frame->Create());
        ShowWindow(*frame, SW_SHOWMAXIMIZED);
        UpdateWindow(*frame);
        PumpFor(50);
    }
    void TearDown() override {
        frame.reset();
        ArchivonSettings().SetText("Config", "BaseDir", savedBase_);
    }
    // Runs before the window is built: tests lay out folders here.
    virtual void Prepare() {}

    CTreeCtrlView& tree() { return *frame->tree(); }
    void MakeFolder(const std::string& relative) { CreateDirectoryA((vault + "\\" + relative).c_str(), nullptr); }
    HTREEITEM Item(const std::string& relativePath) {
        HTREEITEM item = tree().Root();
        std::string rest = relativePath;
        while (item && !rest.empty()) {
            const auto slash = rest.find('\\');
            item = tree().FindChild(item, rest.substr(0, slash));
            rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
        }
        return item;
    }

    // Real mouse input through the system, in screen coordinates.
    static void Mouse(POINT p, DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
        SendInput(1, &in, sizeof in);
    }
    // Presses at `from`, holds until `dragging` says the drag began, drops
    // at `to`; false when the drag did not start or end.
    bool MouseDrag(POINT from, POINT to, const std::function<bool()>& dragging) {
        SetForegroundWindow(*frame);
        Mouse(from, 0);
        PumpFor(50);
        Mouse(from, MOUSEEVENTF_LEFTDOWN);
        Mouse({from.x + 8, from.y + 8}, 0);
        Mouse({from.x + 12, from.y + 12}, 0);
        if (!PumpUntil(dragging, 3000)) return false;
        Mouse(to, 0);
        PumpFor(100);
        Mouse(to, MOUSEEVENTF_LEFTUP);
        if (!PumpUntil([&] { return !dragging(); }, 3000)) return false;
        PumpFor(50);
        return true;
    }

    TempDir dir;
    std::string vault;
    std::unique_ptr<CMainFrame> frame;

private:
    std::string savedBase_;
};
