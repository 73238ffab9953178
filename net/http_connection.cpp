// Winsock must come before <windows.h>.
#include <winsock2.h>

#include "net/http_connection.h"

#include "common/message_box.h"
#include "net/job_url.h"
#include "net/proxy_connect.h"

bool HttpConnection::Open(DownloadJob& job) {
    if (!socket_.Create() || !ConnectViaProxy(socket_, job)) return false;
    if (job.serviceType != net::kSchemeHttps) return true;
    tls_ = std::make_unique<TlsChannel>(socket_);
    return tls_->Open(job.serverHost, job.stop);
}

bool HttpConnection::SendAll(const void* data, std::size_t size, StopSignal& stop) {
    return tls_ ? tls_->SendAll(data, size, stop) : socket_.SendAll(data, size, stop);
}

int HttpConnection::Receive(void* buffer, int size, StopSignal& stop) {
    return tls_ ? tls_->Receive(buffer, size, stop) : socket_.Receive(buffer, size, stop);
}

int HttpConnection::Peek(void* buffer, int size, StopSignal& stop) {
    return tls_ ? tls_->Peek(buffer, size, stop) : socket_.Peek(buffer, size, stop);
}

void HttpConnection::Close() { socket_.Close(); }

std::string HttpConnection::FailureText() const {
    if (tls_ && tls_->failure() != net::TlsFailure::None) return tls_->FailureText();
    return SystemErrorText(static_cast<DWORD>(WSAGetLastError()));
}
