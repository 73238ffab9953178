// The "Proxy" page: proxy address, port, type and credentials.
#pragma once
#include "jobs/job_record.h"
#include "shell/settings_page.h"

class CProxySettings : public SettingsPage {
public:
    explicit CProxySettings(UiPort& ui);
    const ProxySnapshot& proxy() const { return proxy_; }

protected:
    bool OnInitDialog() override;
    void OnControl(int id, UINT code) override;
    bool OnKillActive() override { return TakeValues(); }
    bool OnApply() override;

private:
    // Reads the controls into proxy_ (not the address); a port outside
    // 0-65535 is refused with its message and keeps the focus.
    bool TakeValues();
    void ShowCredentialsReadOnly(bool readOnly) const;

    ProxySnapshot proxy_;
};
