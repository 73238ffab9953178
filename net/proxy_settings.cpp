#include "net/proxy_settings.h"

#include "common/integer_field.h"

namespace net {

void SettleStoredProxy(ProxySnapshot& proxy) {
    proxy.Type = fields::StoredInRange(proxy.Type, 0, kProxyTypeCount - 1, 0);
    proxy.Port = fields::StoredInRange(proxy.Port, kMinProxyPort, kMaxProxyPort, kDefaultProxyPort);
    proxy.UsingLogon = proxy.UsingLogon != 0 ? 1 : 0;
}

bool ProxyAddressComplete(int filledParts) { return filledParts >= 4; }

}  // namespace net
