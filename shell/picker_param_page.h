// The "Web Picker" page: "MaxHops" (0 to 999) and "Cascading", stored for
// the user.
#pragma once
#include "shell/settings_page.h"

class CPickerParamPage : public SettingsPage {
public:
    explicit CPickerParamPage(UiPort& ui);
    int maxHops() const { return maxHops_; }
    bool cascading() const { return cascading_; }

protected:
    bool OnInitDialog() override;
    void OnControl(int id, UINT code) override;
    bool OnKillActive() override { return TakeValues(); }
    bool OnApply() override;

private:
    // Reads the controls; a number that is not an integer from 0 to 999 is
    // refused with its message and keeps the focus.
    bool TakeValues();

    int maxHops_;
    bool cascading_;
};
