#include "shell/password_dialog.h"

#include "res/resource.h"

CPasswordDialog::CPasswordDialog() : Dialog(IDD_PASSWORD) {}

bool CPasswordDialog::OnInitDialog() {
    SetFocus(Item(IDC_PASSWORD_EDIT));
    return false;  // focus set here
}

void CPasswordDialog::OnOK() {
    password_ = ItemText(IDC_PASSWORD_EDIT);
    End(IDOK);
}

bool AskPasswordDialog(HWND owner, std::string& out) {
    CPasswordDialog dialog;
    if (dialog.DoModal(owner) != IDOK) return false;
    out = dialog.password();
    return true;
}

