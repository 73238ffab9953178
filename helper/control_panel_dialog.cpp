#include "helper/control_panel_dialog.h"

#include <commdlg.h>

#include "common/browse_folder.h"
#include "common/open_url.h"
#include "helper/gleanix_resource.h"
#include "helper/module.h"
#include "helper/picked_text_rules.h"
#include "helper/picked_text_store.h"

namespace gleanix {

namespace {
bool BrowseForTextFile(HWND owner, std::string& path) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Text File (*.txt)\0*.txt\0All File (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = "Designate a file for picked text";
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&ofn)) return false;
    path = file;
    return true;
}
}  // namespace

ControlPanelDialog::ControlPanelDialog() : Dialog(IDD_CONTROL_PANEL) {}

INT_PTR ControlPanelDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED || lp == 0) {
                OnCommand(LOWORD(wp));
                return TRUE;
            }
            break;
        case WM_DESTROY:
            if (browseBitmap_) DeleteObject(browseBitmap_);
            browseBitmap_ = nullptr;
            break;
        default:
            break;
    }
    return Dialog::DialogProc(msg, wp, lp);
}

bool ControlPanelDialog::OnInitDialog() {
    ShowValues();
    browseBitmap_ = static_cast<HBITMAP>(
        LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_BROWSE), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    SendMessageA(Item(IDC_BROWSE), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(browseBitmap_));
    SetText(LoadResString(IDS_GLEANIX_TITLE));
    SetModeLabel();
    ApplyEnableRules();
    return true;
}

void ControlPanelDialog::OnOK() {
    ReadValues();
    if (!path.empty() || toMainProgram) End(IDOK);
}

void ControlPanelDialog::ShowValues() {
    SetItemText(IDC_PATH, path);
    SetChecked(IDC_ONE_FILE, oneFile);
    SetChecked(IDC_TO_MAIN, toMainProgram);
}

void ControlPanelDialog::ReadValues() {
    path = ItemText(IDC_PATH);
    oneFile = IsChecked(IDC_ONE_FILE);
    toMainProgram = IsChecked(IDC_TO_MAIN);
}

void ControlPanelDialog::SetModeLabel() {
    SetItemText(IDC_PATH_LABEL,
                oneFile ? "Select a file to save the picked text" : "Select a folder for files to save picked text  ");
}

void ControlPanelDialog::ApplyEnableRules() {
    for (int id : {IDC_ONE_FILE, IDC_PATH_LABEL, IDC_BROWSE}) EnableItem(id, !toMainProgram);
    SendMessageA(Item(IDC_PATH), EM_SETREADONLY, toMainProgram ? TRUE : FALSE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ControlPanelDialog::Browse() {
    ReadValues();
    std::string chosen;
    if (oneFile ? BrowseForTextFile(hwnd_, chosen) : BrowseForFolderDialog(hwnd_, "Select a destination folder", chosen))
        path = chosen;
    ShowValues();
}

void ControlPanelDialog::OnCommand(int id) {
    switch (id) {
        case IDC_ONE_FILE:
            // A file path does not serve as a folder, nor the reverse.
            ReadValues();
            SetModeLabel();
            path.clear();
            ShowValues();
            break;
        case IDC_TO_MAIN:
            ReadValues();
            ApplyEnableRules();
            break;
        case IDC_BROWSE:
            Browse();
            break;
        case IDOK:
            OnOK();
            break;
        case IDCANCEL:
            OnCancel();
            break;
        case IDC_PANEL_HELP:
            OpenUrl(LoadResString(IDS_PRODUCT_PAGE), SW_SHOWNORMAL);
            break;
        case IDC_LATEST_VERSION:
            OpenUrl(LoadResString(IDS_LATEST_VERSION_PAGE), SW_SHOWNORMAL);
            break;
        default:
            break;
    }
}

void RunControlPanel(HWND owner) {
    ControlPanelDialog dialog;
    dialog.path = ReadStoreInFile();
    dialog.oneFile = dialog.path.empty() || dialog.path.back() != '\\';
    dialog.toMainProgram = ReadIsStoreToAvn();
    if (dialog.DoModal(owner) == IDOK) WriteRecords(StoreInFileValue(dialog.path, dialog.oneFile), dialog.toMainProgram);
}

}  // namespace gleanix
