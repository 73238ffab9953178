#include "net/download_settings.h"

#include "common/settings_store.h"
#include "net/proxy_settings.h"
#include "net/user_agent.h"

void LoadProxySettings(ProxySnapshot& proxy) {
    const SettingsStore& s = ArchivonSettings();
    proxy.Type = s.GetInt("Proxy", "Type", 0);
    proxy.IPAddress = static_cast<std::uint32_t>(
        s.GetInt("Proxy", "IPAddress", static_cast<int>(net::kDefaultProxyAddress)));
    proxy.Port = s.GetInt("Proxy", "Port", net::kDefaultProxyPort);
    proxy.UsingLogon = s.GetInt("Proxy", "UsingLogon", 0);
    proxy.User = s.GetText("Proxy", "User", "");
    proxy.Password = s.GetText("Proxy", "Password", "");
    proxy.Domain = s.GetText("Proxy", "Domain", "");
    net::SettleStoredProxy(proxy);
}

void LoadUserAgent(DownloadJob& job) {
    const SettingsStore& s = ArchivonSettings();
    const int selected = s.GetInt("Download", "AgentSel", 0);
    const std::string agents = s.GetText("Download", "Agents", net::kDefaultUserAgent);
    if (auto entry = net::UserAgentEntry(agents, selected)) job.userAgent = *entry;
    if (job.userAgent.empty()) job.userAgent = net::kDefaultUserAgent;
}
