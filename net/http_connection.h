// The byte stream of one HTTP request: the worker's socket, with TLS over it
// for https URLs. The request, head and body logic reads and writes through
// it without knowing which.
#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

#include "jobs/download_job.h"
#include "net/net_socket.h"
#include "net/tls_channel.h"

class HttpConnection {
public:
    // Connects to the job's host (straight or through the proxy) and, for an
    // https job, opens TLS with the host name as target. False on failure:
    // FailureText() then says why.
    bool Open(DownloadJob& job);
    bool SendAll(const void* data, std::size_t size, StopSignal& stop);
    int Receive(void* buffer, int size, StopSignal& stop);
    int Peek(void* buffer, int size, StopSignal& stop);
    // Ends the connection; a TLS refusal stays readable.
    void Close();
    bool secure() const { return tls_ != nullptr; }
    // The status text of a failure: the TLS refusal when there was one,
    // otherwise the system's text for the last error.
    std::string FailureText() const;

private:
    NetSocket socket_;
    std::unique_ptr<TlsChannel> tls_;
};
