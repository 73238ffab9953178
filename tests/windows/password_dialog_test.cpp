#include "vault/password_dialog.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// What the test saw in the open dialog, and how it answers it.
struct DialogVisit {
    std::function<void(HWND dlg)> answer;
    bool seen = false;
    bool masked = false;
    bool focused = false;
    std::string caption;
    std::string initialText;
};

DialogVisit* g_visit = nullptr;
int g_ticks = 0;

BOOL CALLBACK CancelWindow(HWND w, LPARAM) {
    PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK InspectDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowA(nullptr, "Enter a password");
    if (!dlg && ++g_ticks > 100) {
        // Whatever opened instead must not hang the run.
        KillTimer(nullptr, id);
        EnumThreadWindows(GetCurrentThreadId(), CancelWindow, 0);
        return;
    }
    if (!dlg || !g_visit || g_visit->seen) return;
    KillTimer(nullptr, id);
    g_visit->seen = true;
    HWND edit = GetDlgItem(dlg, vault::kPasswordEditId);
    char text[256] = {};
    GetWindowTextA(dlg, text, sizeof text);
    g_visit->caption = text;
    g_visit->masked = (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) != 0;
    g_visit->focused = GetFocus() == edit;
    GetWindowTextA(edit, text, sizeof text);
    g_visit->initialText = text;
    g_visit->answer(dlg);
}

bool Ask(DialogVisit& visit, std::string& out) {
    g_visit = &visit;
    g_ticks = 0;
    SetTimer(nullptr, 0, 50, InspectDialog);
    const bool ok = vault::AskPasswordDialog(nullptr, out);
    g_visit = nullptr;
    return ok;
}

void Type(HWND dlg, const char* text) { SetDlgItemTextA(dlg, vault::kPasswordEditId, text); }
void Press(HWND dlg, int button) { SendMessageA(GetDlgItem(dlg, button), BM_CLICK, 0, 0); }

}  // namespace

TEST(PasswordDialog, MaskedFocusedAndEmptyEachTime) {
    DialogVisit first;
    first.answer = [](HWND dlg) {
        Type(dlg, "s3cret \xe9");
        Press(dlg, IDOK);
    };
    std::string password = "old";
    ASSERT_TRUE(Ask(first, password));
    ASSERT_TRUE(first.seen);
    EXPECT_EQ(first.caption, "Enter a password");
    EXPECT_TRUE(first.masked);
    EXPECT_TRUE(first.focused);
    EXPECT_EQ(first.initialText, "");
    EXPECT_EQ(password, "s3cret \xe9");

    // Opened again, the field does not remember the last password.
    DialogVisit second;
    second.answer = [](HWND dlg) { Press(dlg, IDOK); };
    ASSERT_TRUE(Ask(second, password));
    EXPECT_EQ(second.initialText, "");
    EXPECT_EQ(password, "");
}

TEST(PasswordDialog, CancelKeepsTheCallersText) {
    DialogVisit visit;
    visit.answer = [](HWND dlg) {
        Type(dlg, "typed");
        Press(dlg, IDCANCEL);
    };
    std::string password = "unchanged";
    EXPECT_FALSE(Ask(visit, password));
    EXPECT_TRUE(visit.seen);
    EXPECT_EQ(password, "unchanged");
}
