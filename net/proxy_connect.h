// Opens a download's connections, straight or through the configured proxy
// (HTTP CONNECT, SOCKS 4, SOCKS 4A, SOCKS 5). On success the socket carries
// a clean byte stream to the target. A refusing or garbled proxy fails with
// WSAECONNREFUSED as the last error.
#pragma once
#include <cstdint>
#include <string>

#include "jobs/download_job.h"
#include "net/net_socket.h"

bool IsCancelled(DownloadJob& job);

// The host a connection reached, for a second connection to the same host:
// its name as the job gives it and, in host byte order, the address it was
// reached at (the peer of a direct connection), or kNoAddress when the proxy
// resolves the name.
struct ConnectTarget {
    static constexpr std::uint32_t kNoAddress = 0xFFFFFFFF;
    std::string host;
    std::uint32_t address = kNoAddress;
};

// Target: the job's serverHost and port. Posts the connection status texts.
// On success *reached (when given) tells where the connection went.
bool ConnectViaProxy(NetSocket& socket, DownloadJob& job, ConnectTarget* reached = nullptr);

// An FTP data connection to `port` (host byte order) on the host the control
// connection reached: straight to its peer address, through the proxy to the
// same host. The address a server announces is never used, so a server
// cannot point the client at another machine, and NAT does not matter.
// Posts nothing.
bool ConnectAddressViaProxy(NetSocket& socket, const ConnectTarget& control, std::uint16_t port,
                            const ProxySnapshot& proxy, DownloadJob& job);
