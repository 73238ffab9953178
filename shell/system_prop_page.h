// The "SYSTEM" page: the vault root and whether adding files removes the
// source copies.
#pragma once
#include "shell/settings_page.h"

class CSystemPropPage : public SettingsPage {
public:
    explicit CSystemPropPage(UiPort& ui);
    const std::string& baseDirectory() const { return baseDirectory_; }
    bool removeSource() const { return removeSource_; }
    bool settingsChanged() const { return settingsChanged_; }

protected:
    bool OnInitDialog() override;
    void OnSetActive() override { CancelToClose(); }
    void OnControl(int id, UINT code) override;
    bool OnApply() override;

private:
    // The normalised folder exists as a folder, or the user had it made;
    // false when the page must stay (the user has been told why).
    bool SettleFolder(const std::string& folder);

    std::string baseDirectory_;
    bool removeSource_;
    bool settingsChanged_ = false;
};
