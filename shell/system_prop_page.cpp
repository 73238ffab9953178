#include "shell/system_prop_page.h"

#include "common/settings_store.h"
#include "common/win/file_system.h"
#include "res/resource.h"
#include "vault/base_directory.h"
#include "vault/vault_context.h"

CSystemPropPage::CSystemPropPage(UiPort& ui) : SettingsPage(IDD_SYSTEM_PAGE, ui) {
    const SettingsStore& s = ArchivonSettings();
    baseDirectory_ = vault::LoadVaultContext(s, win::ModuleDirectory()).root;
    removeSource_ = s.GetInt("Config", "IsRemoveSrc", 0) != 0;
}

bool CSystemPropPage::OnInitDialog() {
    Filling filling(*this);
    SetItemText(IDC_BASE_DIRECTORY, baseDirectory_);
    SetChecked(IDC_REMOVE_SOURCE, removeSource_);
    return true;
}

void CSystemPropPage::OnControl(int id, UINT code) {
    if ((id == IDC_BASE_DIRECTORY && code == EN_CHANGE) || (id == IDC_REMOVE_SOURCE && code == BN_CLICKED)) {
        settingsChanged_ = true;
        SetModified();
    }
}

bool CSystemPropPage::SettleFolder(const std::string& folder) {
    if (!win::PathExists(folder)) {
        if (Tell("The directory: " + folder + " not exists, Create it?", MB_YESNO) != IDYES) return false;
        // A path too long is refused by CreatePath itself, with its message.
        if (!win::CreatePath(folder, ui_)) return false;
        // An empty name stands for the default root, made at the next start.
        if (folder.empty()) return true;
        if (!win::IsFolder(folder)) {
            Tell("The directory: " + folder + " can not be created!");
            return false;
        }
        return true;
    }
    if (!win::IsFolder(folder)) {
        Tell("The directory: " + folder + " is a file, not a directory!");
        return false;
    }
    return true;
}

bool CSystemPropPage::OnApply() {
    baseDirectory_ = ItemText(IDC_BASE_DIRECTORY);
    removeSource_ = IsChecked(IDC_REMOVE_SOURCE);
    std::string folder;
    const vault::BaseDirectoryCheck check = vault::NormaliseBaseDirectory(baseDirectory_, folder);
    baseDirectory_ = folder;
    if (check == vault::BaseDirectoryCheck::BareDrive) {
        Tell("You must set a volume's subdirectory!");
        FocusItem(IDC_BASE_DIRECTORY);
        return false;
    }
    if (!SettleFolder(folder)) {
        FocusItem(IDC_BASE_DIRECTORY);
        return false;
    }
    const SettingsStore& s = ArchivonSettings();
    s.SetText("Config", "BaseDir", baseDirectory_);
    s.SetInt("Config", "IsRemoveSrc", removeSource_ ? 1 : 0);
    {
        Filling filling(*this);
        SetItemText(IDC_BASE_DIRECTORY, baseDirectory_);
    }
    if (settingsChanged_) {
        Tell("You should restart Archivon to have the changed settings get activated!");
        settingsChanged_ = false;
    }
    return true;
}
