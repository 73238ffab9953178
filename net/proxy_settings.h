// Rules of the "Proxy" settings shared by the settings page and the jobs
// that copy them when they start.
#pragma once
#include <cstdint>

#include "jobs/job_record.h"

namespace net {

constexpr int kMinProxyPort = 0;
constexpr int kMaxProxyPort = 65535;
constexpr int kDefaultProxyPort = 80;
constexpr std::uint32_t kDefaultProxyAddress = 0x7F000001;  // 127.0.0.1
constexpr int kProxyTypeCount = 6;                           // None .. the hidden sixth

// A stored value out of its range reads as its default: a "Type" outside the
// six kinds as None, a "Port" outside 0-65535 as 80, any non-zero
// "UsingLogon" as 1.
void SettleStoredProxy(ProxySnapshot& proxy);
// An address is stored only when all four parts of it were given.
bool ProxyAddressComplete(int filledParts);

}  // namespace net
