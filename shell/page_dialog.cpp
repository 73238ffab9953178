#include "shell/page_dialog.h"

INT_PTR PageDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    // Enter and Escape belong to the edit control; a page never closes.
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) && !lp) return TRUE;
    if (msg == WM_SIZE) {
        MoveWindow(Control(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return TRUE;
    }
    return Dialog::DialogProc(msg, wp, lp);
}
