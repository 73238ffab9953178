#include "shell/job_dialog.h"

#include "res/resource.h"

JobDialog::JobDialog(const JobDialogFields& fields) : Dialog(IDD_JOB), fields_(fields) {}

bool JobDialog::OnInitDialog() {
    SetItemText(IDC_JOB_URL, fields_.url);
    SetItemText(IDC_JOB_NAME, fields_.name);
    SetChecked(IDC_JOB_AUTO, fields_.autoName);
    SetItemText(IDC_JOB_USER, fields_.userName);
    SetItemText(IDC_JOB_PASSWORD, fields_.password);
    SetChecked(IDC_JOB_START, fields_.startAtOnce);
    FollowAuto();
    return true;
}

// "Auto" only makes the name read-only; the text is returned as it stands.
void JobDialog::FollowAuto() { SendMessageA(Item(IDC_JOB_NAME), EM_SETREADONLY, IsChecked(IDC_JOB_AUTO), 0); }

void JobDialog::OnOK() {
    fields_.url = ItemText(IDC_JOB_URL);
    fields_.name = ItemText(IDC_JOB_NAME);
    fields_.autoName = IsChecked(IDC_JOB_AUTO);
    fields_.userName = ItemText(IDC_JOB_USER);
    fields_.password = ItemText(IDC_JOB_PASSWORD);
    fields_.startAtOnce = IsChecked(IDC_JOB_START);
    End(IDOK);
}

INT_PTR JobDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDC_JOB_AUTO && HIWORD(wp) == BN_CLICKED) {
        FollowAuto();
        return TRUE;
    }
    return Dialog::DialogProc(msg, wp, lp);
}
