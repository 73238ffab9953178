#include <winsock2.h>

#include "net/net_socket.h"

namespace {

SOCKET AsSocket(std::uintptr_t s) { return static_cast<SOCKET>(s); }

}  // namespace

NetTimeouts& NetTuning() {
    static NetTimeouts timeouts;
    return timeouts;
}

bool StopSignal::IsSet() {
    if (!seen_ && event_ && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0) seen_ = true;
    return seen_;
}

bool StopSignal::Poll() {
    const ULONGLONG now = GetTickCount64();
    if (seen_ || now - lastPoll_ < 50) return seen_;
    lastPoll_ = now;
    return IsSet();
}

bool StopSignal::Pause(DWORD ms) {
    if (IsSet()) return false;
    if (!event_) {
        Sleep(ms);
        return true;
    }
    if (WaitForSingleObject(event_, ms) == WAIT_OBJECT_0) {
        seen_ = true;
        return false;
    }
    return true;
}

bool NetSocket::Create() {
    Close();
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    socket_ = static_cast<std::uintptr_t>(s);
    event_ = WSACreateEvent();
    readEvent_ = WSACreateEvent();
    if (event_ == WSA_INVALID_EVENT || readEvent_ == WSA_INVALID_EVENT ||
        WSAEventSelect(s, event_, FD_CONNECT | FD_WRITE | FD_CLOSE) == SOCKET_ERROR) {
        const int err = WSAGetLastError();
        Close();
        WSASetLastError(err);
        return false;
    }
    return true;
}

void NetSocket::Close() {
    const int err = WSAGetLastError();  // closing must not hide the error being reported
    if (valid()) closesocket(AsSocket(socket_));
    if (event_ != WSA_INVALID_EVENT && event_) WSACloseEvent(event_);
    if (readEvent_ != WSA_INVALID_EVENT && readEvent_) WSACloseEvent(readEvent_);
    readEvent_ = nullptr;
    WSASetLastError(err);
    socket_ = ~std::uintptr_t{0};
    event_ = nullptr;
}

bool NetSocket::Wait(ULONGLONG deadline, StopSignal& stop, long* events, int* connectError, int* closeError) {
    if (stop.IsSet()) {
        WSASetLastError(WSAEINTR);
        return false;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) {
        WSASetLastError(WSAETIMEDOUT);
        return false;
    }
    HANDLE handles[2] = {event_, stop.event()};
    const DWORD count = stop.event() ? 2 : 1;
    const DWORD w = WaitForMultipleObjects(count, handles, FALSE, static_cast<DWORD>(deadline - now));
    if (w == WAIT_OBJECT_0 + 1) {
        stop.Note();
        WSASetLastError(WSAEINTR);
        return false;
    }
    if (w == WAIT_TIMEOUT) {
        WSASetLastError(WSAETIMEDOUT);
        return false;
    }
    if (w != WAIT_OBJECT_0) return false;
    WSANETWORKEVENTS seen{};
    if (WSAEnumNetworkEvents(AsSocket(socket_), event_, &seen) != 0) return false;
    *events = seen.lNetworkEvents;
    *connectError = seen.iErrorCode[FD_CONNECT_BIT];
    *closeError = seen.iErrorCode[FD_CLOSE_BIT];
    return true;
}

bool NetSocket::Connect(std::uint32_t address, std::uint16_t port, StopSignal& stop) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(address);
    to.sin_port = htons(port);
    if (connect(AsSocket(socket_), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return !stop.IsSet();
    if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
    const ULONGLONG deadline = GetTickCount64() + NetTuning().connectMs;
    for (;;) {
        long events = 0;
        int err = 0, closeErr = 0;
        if (!Wait(deadline, stop, &events, &err, &closeErr)) return false;
        if (events & FD_CONNECT) {
            if (err) {
                WSASetLastError(err);
                return false;
            }
            return !stop.IsSet();
        }
    }
}

bool NetSocket::PeerAddress(std::uint32_t& address) const {
    sockaddr_in peer{};
    int size = sizeof peer;
    if (getpeername(AsSocket(socket_), reinterpret_cast<sockaddr*>(&peer), &size) != 0 || peer.sin_family != AF_INET)
        return false;
    address = ntohl(peer.sin_addr.s_addr);
    return true;
}

bool NetSocket::SendAll(const void* data, std::size_t size, StopSignal& stop) {
    const char* p = static_cast<const char*>(data);
    ULONGLONG deadline = GetTickCount64() + NetTuning().idleMs;
    while (size > 0) {
        const int chunk = size > 0x10000 ? 0x10000 : static_cast<int>(size);
        const int n = send(AsSocket(socket_), p, chunk, 0);
        if (n > 0) {
            p += n;
            size -= static_cast<std::size_t>(n);
            deadline = GetTickCount64() + NetTuning().idleMs;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
        long events = 0;
        int connectErr = 0, closeErr = 0;
        if (!Wait(deadline, stop, &events, &connectErr, &closeErr)) return false;
        if ((events & FD_CLOSE) && closeErr) {
            WSASetLastError(closeErr);
            return false;
        }
    }
    return !stop.IsSet();
}

int NetSocket::Receive(void* buffer, int size, StopSignal& stop) { return ReceiveWith(0, buffer, size, stop); }

int NetSocket::Peek(void* buffer, int size, StopSignal& stop) { return ReceiveWith(MSG_PEEK, buffer, size, stop); }

int NetSocket::ReceiveWith(int flags, void* buffer, int size, StopSignal& stop) {
    // Data already waiting is taken with one plain call (the event selection
    // made the socket non-blocking): a busy transfer pays no more per block
    // than a blocking loop would. Only an empty socket costs the overlapped
    // receive, which waits on its own event together with the stop event.
    const int ready = recv(AsSocket(socket_), static_cast<char*>(buffer), size, flags);
    if (ready >= 0) return ready;
    if (WSAGetLastError() != WSAEWOULDBLOCK) return -1;
    WSAOVERLAPPED ov{};
    ov.hEvent = readEvent_;
    WSABUF piece{static_cast<ULONG>(size), static_cast<char*>(buffer)};
    DWORD got = 0;
    DWORD inFlags = static_cast<DWORD>(flags);
    if (WSARecv(AsSocket(socket_), &piece, 1, &got, &inFlags, &ov, nullptr) == 0) return static_cast<int>(got);
    if (WSAGetLastError() != WSA_IO_PENDING) return -1;
    HANDLE handles[2] = {readEvent_, stop.event()};
    const DWORD count = stop.event() && !stop.seen() ? 2 : 1;
    const DWORD w = stop.seen() ? WAIT_OBJECT_0 + 1 : WaitForMultipleObjects(count, handles, FALSE, NetTuning().idleMs);
    int error = 0;
    if (w == WAIT_OBJECT_0 + 1) {
        stop.Note();
        error = WSAEINTR;
    } else if (w != WAIT_OBJECT_0) {
        error = WSAETIMEDOUT;
    }
    if (error) CancelIoEx(reinterpret_cast<HANDLE>(socket_), &ov);
    DWORD resultFlags = 0;
    // After a cancel the receive may still have completed with data; keep it.
    if (WSAGetOverlappedResult(AsSocket(socket_), &ov, &got, TRUE, &resultFlags)) return static_cast<int>(got);
    WSASetLastError(error ? error : WSAGetLastError());
    return -1;
}

bool NetSocket::ReceiveExact(void* buffer, std::size_t size, StopSignal& stop) {
    char* p = static_cast<char*>(buffer);
    while (size > 0) {
        const int n = Receive(p, static_cast<int>(size), stop);
        if (n <= 0) {
            if (n == 0) WSASetLastError(WSAECONNRESET);
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}
