#include "shell/password_dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

// What the test saw in the open dialog before answering it.
struct Seen {
    int shown = 0;
    bool masked = false;
    bool focused = false;
    std::string caption;
    std::string initialText;
};

// Answers each password dialog: records it, types `typed`, presses `button`.
class PasswordDialogTest : public ::testing::Test {
protected:
    void Answer(const std::string& typed, int button) {
        SetDialogHook([this, typed, button](Dialog& d) {
            HWND edit = d.Item(IDC_PASSWORD_EDIT);
            ++seen.shown;
            char caption[128] = {};
            GetWindowTextA(d.hwnd(), caption, sizeof caption);
            seen.caption = caption;
            seen.masked = (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) != 0;
            seen.focused = GetFocus() == edit;
            seen.initialText = d.ItemText(IDC_PASSWORD_EDIT);
            SetWindowTextA(edit, typed.c_str());
            d.Send(WM_COMMAND, button, 0);
        });
    }
    void TearDown() override { SetDialogHook({}); }
    Seen seen;
};

}  // namespace

TEST_F(PasswordDialogTest, MaskedFocusedAndEmptyEachTime) {
    Answer("s3cret \xe9", IDOK);
    std::string password = "old";
    ASSERT_TRUE(AskPasswordDialog(nullptr, password));
    ASSERT_EQ(seen.shown, 1);
    EXPECT_EQ(seen.caption, "Enter a password");
    EXPECT_TRUE(seen.masked);
    EXPECT_TRUE(seen.focused);
    EXPECT_EQ(seen.initialText, "");
    EXPECT_EQ(password, "s3cret \xe9");

    // Opened again, the field does not remember the last password.
    Answer("", IDOK);
    ASSERT_TRUE(AskPasswordDialog(nullptr, password));
    EXPECT_EQ(seen.shown, 2);
    EXPECT_EQ(seen.initialText, "");
    EXPECT_EQ(password, "");
}

TEST_F(PasswordDialogTest, CancelKeepsTheCallersText) {
    Answer("typed", IDCANCEL);
    std::string password = "unchanged";
    EXPECT_FALSE(AskPasswordDialog(nullptr, password));
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(password, "unchanged");
}
