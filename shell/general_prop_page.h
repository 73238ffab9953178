// The "General" page: start with Windows, and the splash at start-up.
#pragma once
#include "shell/settings_page.h"

class CGeneralPropPage : public SettingsPage {
public:
    explicit CGeneralPropPage(UiPort& ui);
    bool startWithWindows() const { return startWithWindows_; }
    bool displaySplash() const { return displaySplash_; }

protected:
    bool OnInitDialog() override;
    void OnSetActive() override { CancelToClose(); }
    void OnControl(int id, UINT code) override;
    bool OnApply() override;

private:
    bool startWithWindows_;
    bool displaySplash_;
};

// The per-user Run entry "Archivon": set to the program's path when on,
// removed when off. A machine-wide entry of older versions is removed
// whenever that key can be opened for writing, so the per-user one alone
// decides. Failures are not reported.
void SetRunAtStartup(bool on, const std::string& programPath);
