// Opens a download's connections, straight or through the configured proxy
// (HTTP CONNECT, SOCKS 4, SOCKS 4A, SOCKS 5). On success the socket carries
// a clean byte stream to the target. A refusing or garbled proxy fails with
// WSAECONNREFUSED as the last error.
#pragma once
#include <cstdint>

#include "jobs/download_job.h"
#include "net/net_socket.h"

bool IsCancelled(DownloadJob& job);

// Target: the job's serverHost and port. Posts the connection status texts.
bool ConnectViaProxy(NetSocket& socket, DownloadJob& job);

// Target address and port in network byte order (an FTP data connection).
// Posts nothing.
bool ConnectAddressViaProxy(NetSocket& socket, std::uint32_t address, std::uint16_t port,
                            const ProxySnapshot& proxy, DownloadJob& job);
