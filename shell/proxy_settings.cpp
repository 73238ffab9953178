#include "shell/proxy_settings.h"

#include <commctrl.h>

#include "common/settings_store.h"
#include "net/download_settings.h"
#include "net/proxy_settings.h"
#include "res/resource.h"

namespace {
// The buttons of the six types in the order of their values; the last is
// hidden and only ever checked by a stored value.
constexpr int kFirstType = IDC_PROXY_NONE;
constexpr int kLastType = IDC_PROXY_ISA;
static_assert(kLastType - kFirstType + 1 == net::kProxyTypeCount);
}  // namespace

CProxySettings::CProxySettings(UiPort& ui) : SettingsPage(IDD_PROXY_PAGE, ui) {}

void CProxySettings::ShowCredentialsReadOnly(bool readOnly) const {
    for (int id : {IDC_PROXY_USER, IDC_PROXY_PASSWORD, IDC_PROXY_DOMAIN})
        SendMessageA(Item(id), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool CProxySettings::OnInitDialog() {
    LoadProxySettings(proxy_);
    Filling filling(*this);
    SendMessageA(Item(IDC_PROXY_ADDRESS), IPM_SETADDRESS, 0, static_cast<LPARAM>(proxy_.IPAddress));
    SetItemText(IDC_PROXY_PORT, std::to_string(proxy_.Port));
    CheckRadioButton(hwnd_, kFirstType, kLastType, kFirstType + proxy_.Type);
    SetChecked(IDC_PROXY_LOGON, proxy_.UsingLogon != 0);
    SetItemText(IDC_PROXY_USER, proxy_.User);
    SetItemText(IDC_PROXY_PASSWORD, proxy_.Password);
    SetItemText(IDC_PROXY_DOMAIN, proxy_.Domain);
    ShowCredentialsReadOnly(proxy_.UsingLogon == 0);
    return true;
}

void CProxySettings::OnControl(int id, UINT code) {
    if (id == IDC_PROXY_LOGON && code == BN_CLICKED) {
        SetModified();
        ShowCredentialsReadOnly(!IsChecked(IDC_PROXY_LOGON));
    } else if (id >= kFirstType && id <= kLastType && code == BN_CLICKED) {
        // Also clears the hidden sixth, which the group's own handling skips.
        CheckRadioButton(hwnd_, kFirstType, kLastType, id);
        SetModified();
    } else if (code == EN_CHANGE && (id == IDC_PROXY_ADDRESS || id == IDC_PROXY_PORT || id == IDC_PROXY_USER ||
                                     id == IDC_PROXY_PASSWORD || id == IDC_PROXY_DOMAIN)) {
        SetModified();
    }
}

bool CProxySettings::TakeValues() {
    if (!TakeInteger(IDC_PROXY_PORT, net::kMinProxyPort, net::kMaxProxyPort, proxy_.Port)) return false;
    for (int id = kFirstType; id <= kLastType; ++id)
        if (IsChecked(id)) proxy_.Type = id - kFirstType;
    proxy_.UsingLogon = IsChecked(IDC_PROXY_LOGON) ? 1 : 0;
    proxy_.User = ItemText(IDC_PROXY_USER);
    proxy_.Password = ItemText(IDC_PROXY_PASSWORD);
    proxy_.Domain = ItemText(IDC_PROXY_DOMAIN);
    return true;
}

bool CProxySettings::OnApply() {
    if (!TakeValues()) return false;
    HWND address = Item(IDC_PROXY_ADDRESS);
    DWORD value = 0;
    const int filled = static_cast<int>(SendMessageA(address, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value)));
    if (!net::ProxyAddressComplete(filled)) {
        SetFocus(address);
        ui_.Beep();
        return false;
    }
    proxy_.IPAddress = value;
    const SettingsStore& s = ArchivonSettings();
    s.SetInt("Proxy", "IPAddress", static_cast<int>(proxy_.IPAddress));
    s.SetText("Proxy", "Domain", proxy_.Domain);
    s.SetText("Proxy", "Password", proxy_.Password);
    s.SetInt("Proxy", "Port", proxy_.Port);
    s.SetInt("Proxy", "UsingLogon", proxy_.UsingLogon);
    s.SetText("Proxy", "User", proxy_.User);
    s.SetInt("Proxy", "Type", proxy_.Type);
    return true;
}
