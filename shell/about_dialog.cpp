#include "shell/about_dialog.h"

#include "res/resource.h"

CAboutDialog::CAboutDialog() : Dialog(IDD_ABOUTBOX) {}

bool CAboutDialog::OnInitDialog() {
    const std::string templ = LoadResString(IDR_MAINFRAME);
    SetDlgItemTextA(hwnd_, IDC_ABOUT_VERSION, templ.substr(0, templ.find('\n')).c_str());
    makerLink_.SubclassDlgItem(hwnd_, IDC_ABOUT_MAKER);
    makerLink_.SetUrl(LoadResString(IDS_HOME_PAGE));
    makerLink_.SetUnderline(true);
    return true;
}
