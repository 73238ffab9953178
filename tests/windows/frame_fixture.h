// A main window over a fresh vault in a temporary folder, for window tests.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "common/settings_store.h"
#include "shell/main_frame.h"
#include "tests/support/test_env.h"

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

    TempDir dir;
    std::string vault;
    std::unique_ptr<CMainFrame> frame;

private:
    std::string savedBase_;
};
