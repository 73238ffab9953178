#include "shell/general_prop_page.h"

#include "common/settings_store.h"
#include "common/win/file_system.h"
#include "common/win/reg_key.h"
#include "res/resource.h"

namespace {
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Archivon";
}  // namespace

void SetRunAtStartup(bool on, const std::string& programPath) {
    win::RegKey user;
    if (on) {
        if (user.Create(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE) == ERROR_SUCCESS)
            user.SetText(kRunValue, programPath);
    } else if (user.Open(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE) == ERROR_SUCCESS) {
        user.DeleteValue(kRunValue);
    }
    win::RegKey machine;
    if (machine.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_SET_VALUE) == ERROR_SUCCESS) machine.DeleteValue(kRunValue);
}

CGeneralPropPage::CGeneralPropPage(UiPort& ui) : SettingsPage(IDD_GENERAL_PAGE, ui) {
    const SettingsStore& s = ArchivonSettings();
    startWithWindows_ = s.GetInt("Config", "StartUp", 0) != 0;
    displaySplash_ = s.GetInt("Config", "DisplaySplash", 1) != 0;
}

bool CGeneralPropPage::OnInitDialog() {
    Filling filling(*this);
    SetChecked(IDC_RUN_AT_STARTUP, startWithWindows_);
    SetChecked(IDC_DISPLAY_SPLASH, displaySplash_);
    return true;
}

void CGeneralPropPage::OnControl(int id, UINT code) {
    if ((id == IDC_RUN_AT_STARTUP || id == IDC_DISPLAY_SPLASH) && code == BN_CLICKED) SetModified();
}

bool CGeneralPropPage::OnApply() {
    startWithWindows_ = IsChecked(IDC_RUN_AT_STARTUP);
    displaySplash_ = IsChecked(IDC_DISPLAY_SPLASH);
    const SettingsStore& s = ArchivonSettings();
    s.SetInt("Config", "DisplaySplash", displaySplash_ ? 1 : 0);
    s.SetInt("Config", "StartUp", startWithWindows_ ? 1 : 0);
    SetRunAtStartup(startWithWindows_, win::ModuleFileName());
    return true;
}
