#include "vault/password_dialog.h"

namespace vault {
namespace {

INT_PTR CALLBACK PasswordDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dlg, DWLP_USER, lp);
            SetFocus(GetDlgItem(dlg, kPasswordEditId));
            return FALSE;  // focus set here
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                auto* out = reinterpret_cast<std::string*>(GetWindowLongPtrA(dlg, DWLP_USER));
                HWND edit = GetDlgItem(dlg, kPasswordEditId);
                std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
                text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
                *out = std::move(text);
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

bool AskPasswordDialog(HWND owner, std::string& out) {
    std::string typed;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPasswordDialogId), owner,
                                      PasswordDialogProc, reinterpret_cast<LPARAM>(&typed));
    if (r != IDOK) return false;
    out = std::move(typed);
    return true;
}

}  // namespace vault
