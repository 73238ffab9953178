// TLS over a connected NetSocket through the platform's TLS provider: a
// client handshake with the host name as target, a certificate check done
// here (never left to the provider), and records encrypted and decrypted one
// at a time. Waits, stops and time-outs are the socket's.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/net_socket.h"
#include "net/tls_records.h"

class TlsChannel {
public:
    explicit TlsChannel(NetSocket& socket);
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    // Handshake, protocol floor (TLS 1.2) and certificate check against host.
    // False on any failure: failure() names a refusal of the server, or is
    // None when the socket failed (stop, time-out, reset; last error set).
    bool Open(const std::string& host, StopSignal& stop);
    bool SendAll(const void* data, std::size_t size, StopSignal& stop);
    // As NetSocket's: > 0 bytes of plain data, 0 at the end of the stream
    // (close notice or a close between records), -1 on failure.
    int Receive(void* buffer, int size, StopSignal& stop) { return Take(buffer, size, stop, true); }
    // Like Receive, but the bytes stay for the next call.
    int Peek(void* buffer, int size, StopSignal& stop) { return Take(buffer, size, stop, false); }

    net::TlsFailure failure() const { return failure_; }
    // The status text of the failure ("" for None), with the provider's
    // code when it gave one.
    std::string FailureText() const;

private:
    struct Handles;

    bool Refuse(net::TlsFailure failure);
    int RefuseRead(net::TlsFailure failure);
    bool AcquireCredentials();
    bool Handshake(const std::string& host, StopSignal& stop);
    bool CheckProtocol();
    bool CheckCertificate(const std::string& host);
    // Receives more raw bytes (at least 16 KiB of room each time) and checks
    // the framing of what is buffered. False on failure or when the socket
    // closed (closed_ then set; a cut record is a failure).
    bool ReceiveMore(StopSignal& stop);
    bool CheckFraming();
    bool RefuseFraming(net::RecordCheck check);
    // Decrypts the next record into the plain window; 1 when plain data is
    // there, 0 at the end of the stream, -1 on failure.
    int NextPlain(StopSignal& stop);
    int Take(void* buffer, int size, StopSignal& stop, bool consume);
    bool TakePostHandshakeMessage(std::uint8_t* data, unsigned long size, StopSignal& stop);

    NetSocket& socket_;
    std::unique_ptr<Handles> handles_;
    std::string host_;
    std::vector<std::uint8_t> in_;  // raw bytes [inStart_, inEnd_), plain ones [plainStart_, plainEnd_)
    std::size_t inStart_ = 0, inEnd_ = 0;
    std::size_t plainStart_ = 0, plainEnd_ = 0;
    std::size_t maxMessage_ = 16384, header_ = 0, trailer_ = 0;
    bool open_ = false;  // handshake and checks passed
    bool closed_ = false;
    bool ended_ = false;  // the server sent its close notice
    bool tls13_ = false;
    net::TlsFailure failure_ = net::TlsFailure::None;
    long providerStatus_ = 0;
};
