// The "Download" page: start jobs added from outside at once, and the list
// of User-Agent texts.
#pragma once
#include <vector>

#include "shell/settings_page.h"

class CDownloadPropertyPage : public SettingsPage {
public:
    explicit CDownloadPropertyPage(UiPort& ui);
    bool silentMode() const { return silentMode_; }
    const std::string& userAgent() const { return userAgent_; }

protected:
    bool OnInitDialog() override;
    void OnControl(int id, UINT code) override;
    bool OnApply() override;

private:
    void ShowAgents(const std::vector<std::string>& entries, int selected);
    std::vector<std::string> ListedAgents() const;

    bool silentMode_;
    std::string userAgent_;
};
