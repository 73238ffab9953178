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
std::string LoadText(UINT id) {
    char buf[512] = {};
    const int n = LoadStringA(ModuleHandle(), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

std::string ItemText(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

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

INT_PTR ControlPanelDialog::DoModal(HWND owner) {
    return DialogBoxParamA(ModuleHandle(), MAKEINTRESOURCEA(IDD_CONTROL_PANEL), owner, &Proc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ControlPanelDialog::Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        auto* self = reinterpret_cast<ControlPanelDialog*>(lp);
        self->dlg_ = dlg;
        self->OnInit();
        return TRUE;
    }
    auto* self = reinterpret_cast<ControlPanelDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED || lp == 0) {
                self->OnCommand(LOWORD(wp));
                return TRUE;
            }
            break;
        case WM_DESTROY:
            if (self->browseBitmap_) DeleteObject(self->browseBitmap_);
            self->browseBitmap_ = nullptr;
            break;
        default:
            break;
    }
    return FALSE;
}

void ControlPanelDialog::OnInit() {
    ShowValues();
    browseBitmap_ = static_cast<HBITMAP>(
        LoadImageA(ModuleHandle(), MAKEINTRESOURCEA(IDB_BROWSE), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    SendDlgItemMessageA(dlg_, IDC_BROWSE, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(browseBitmap_));
    SetWindowTextA(dlg_, LoadText(IDS_GLEANIX_TITLE).c_str());
    SetModeLabel();
    ApplyEnableRules();
}

void ControlPanelDialog::ShowValues() {
    SetDlgItemTextA(dlg_, IDC_PATH, path.c_str());
    CheckDlgButton(dlg_, IDC_ONE_FILE, oneFile ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg_, IDC_TO_MAIN, toMainProgram ? BST_CHECKED : BST_UNCHECKED);
}

void ControlPanelDialog::ReadValues() {
    path = ItemText(dlg_, IDC_PATH);
    oneFile = IsDlgButtonChecked(dlg_, IDC_ONE_FILE) == BST_CHECKED;
    toMainProgram = IsDlgButtonChecked(dlg_, IDC_TO_MAIN) == BST_CHECKED;
}

void ControlPanelDialog::SetModeLabel() {
    SetDlgItemTextA(dlg_, IDC_PATH_LABEL,
                    oneFile ? "Select a file to save the picked text" : "Select a folder for files to save picked text  ");
}

void ControlPanelDialog::ApplyEnableRules() {
    const BOOL enable = toMainProgram ? FALSE : TRUE;
    EnableWindow(GetDlgItem(dlg_, IDC_ONE_FILE), enable);
    EnableWindow(GetDlgItem(dlg_, IDC_PATH_LABEL), enable);
    EnableWindow(GetDlgItem(dlg_, IDC_BROWSE), enable);
    SendDlgItemMessageA(dlg_, IDC_PATH, EM_SETREADONLY, toMainProgram ? TRUE : FALSE, 0);
    InvalidateRect(dlg_, nullptr, TRUE);
}

void ControlPanelDialog::Browse() {
    ReadValues();
    std::string chosen;
    if (oneFile ? BrowseForTextFile(dlg_, chosen) : BrowseForFolderDialog(dlg_, "Select a destination folder", chosen))
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
            ReadValues();
            if (!path.empty() || toMainProgram) EndDialog(dlg_, IDOK);
            break;
        case IDCANCEL:
            EndDialog(dlg_, IDCANCEL);
            break;
        case IDC_PANEL_HELP:
            OpenUrl(LoadText(IDS_PRODUCT_PAGE), SW_SHOWNORMAL);
            break;
        case IDC_LATEST_VERSION:
            OpenUrl(LoadText(IDS_LATEST_VERSION_PAGE), SW_SHOWNORMAL);
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
