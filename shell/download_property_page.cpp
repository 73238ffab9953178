#include "shell/download_property_page.h"

#include "common/settings_store.h"
#include "net/user_agent.h"
#include "res/resource.h"

CDownloadPropertyPage::CDownloadPropertyPage(UiPort& ui) : SettingsPage(IDD_DOWNLOAD_PAGE, ui) {
    silentMode_ = ArchivonSettings().GetInt("Download", "Silent Mode", 1) != 0;
}

void CDownloadPropertyPage::ShowAgents(const std::vector<std::string>& entries, int selected) {
    Filling filling(*this);
    HWND combo = Item(IDC_USER_AGENT);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const auto& entry : entries) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

std::vector<std::string> CDownloadPropertyPage::ListedAgents() const {
    HWND combo = Item(IDC_USER_AGENT);
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        entries.push_back(std::move(text));
    }
    return entries;
}

bool CDownloadPropertyPage::OnInitDialog() {
    const SettingsStore& s = ArchivonSettings();
    const int stored = s.GetInt("Download", "AgentSel", 0);
    const auto entries = net::UserAgentListToShow(
        s.GetText("Download", "Agents", std::string(net::kDefaultUserAgent) + net::kUserAgentSeparator));
    {
        Filling filling(*this);
        SetChecked(IDC_SILENT_MODE, silentMode_);
    }
    ShowAgents(entries, net::UserAgentSelection(stored, entries.size()));
    return true;
}

void CDownloadPropertyPage::OnControl(int id, UINT code) {
    if ((id == IDC_SILENT_MODE && code == BN_CLICKED) ||
        (id == IDC_USER_AGENT && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)))
        SetModified();
}

bool CDownloadPropertyPage::OnApply() {
    silentMode_ = IsChecked(IDC_SILENT_MODE);
    userAgent_ = ItemText(IDC_USER_AGENT);
    if (!net::IsStorableUserAgent(userAgent_)) {
        Tell("This User-Agent text can not be stored: it may not hold \"|||\" or a line break, nor end with "
             "\"|\".");
        FocusItem(IDC_USER_AGENT);
        return false;
    }
    const SettingsStore& s = ArchivonSettings();
    s.SetInt("Download", "Silent Mode", silentMode_ ? 1 : 0);
    const net::UserAgentUpdate update = net::PutUserAgentFirst(ListedAgents(), userAgent_);
    if (!update.store) return true;
    s.SetInt("Download", "AgentsNum", update.count);
    s.SetInt("Download", "AgentSel", 0);
    s.SetText("Download", "Agents", update.agents);
    ShowAgents(update.entries, 0);
    return true;
}
