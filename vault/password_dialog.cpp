#include "vault/password_dialog.h"

namespace vault {

bool CPasswordDialog::OnInitDialog() {
    SetFocus(Item(kPasswordEditId));
    return false;  // focus set here
}

void CPasswordDialog::OnOK() {
    password_ = ItemText(kPasswordEditId);
    End(IDOK);
}

bool AskPasswordDialog(HWND owner, std::string& out) {
    CPasswordDialog dialog;
    if (dialog.DoModal(owner) != IDOK) return false;
    out = dialog.password();
    return true;
}

}  // namespace vault
