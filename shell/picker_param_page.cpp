#include "shell/picker_param_page.h"

#include "common/integer_field.h"
#include "common/settings_store.h"
#include "jobs/picker_settings.h"
#include "res/resource.h"

CPickerParamPage::CPickerParamPage(UiPort& ui) : SettingsPage(IDD_PICKER_PAGE, ui) {
    const SettingsStore& s = ArchivonSettings();
    maxHops_ = fields::StoredInRange(s.GetInt("Web Picker", "MaxHops", 0), jobs::kMinHops, jobs::kMaxHops, 0);
    cascading_ = s.GetInt("Web Picker", "Cascading", 0) != 0;
}

bool CPickerParamPage::OnInitDialog() {
    Filling filling(*this);
    SetItemText(IDC_MAX_HOPS, std::to_string(maxHops_));
    SetChecked(IDC_CASCADING, cascading_);
    return true;
}

void CPickerParamPage::OnControl(int id, UINT code) {
    if ((id == IDC_MAX_HOPS && code == EN_CHANGE) || (id == IDC_CASCADING && code == BN_CLICKED)) SetModified();
}

bool CPickerParamPage::TakeValues() {
    if (!TakeInteger(IDC_MAX_HOPS, jobs::kMinHops, jobs::kMaxHops, maxHops_)) return false;
    cascading_ = IsChecked(IDC_CASCADING);
    return true;
}

bool CPickerParamPage::OnApply() {
    if (!TakeValues()) return false;
    const SettingsStore& s = ArchivonSettings();
    s.SetInt("Web Picker", "MaxHops", maxHops_);
    s.SetInt("Web Picker", "Cascading", cascading_ ? 1 : 0);
    return true;
}
