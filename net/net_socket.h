// A TCP socket whose every wait (connect, send, receive) also wakes on the
// job's stop event and ends after a time-out, so a silent peer can never
// keep a download thread alive.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// Time limits of the download engine. Tests shorten them.
struct NetTimeouts {
    DWORD connectMs = 30000;
    DWORD idleMs = 120000;             // no byte from the peer for this long
    DWORD emptyReceivePauseMs = 5000;  // pause after a receive that got nothing
};
NetTimeouts& NetTuning();

// The job's auto-reset stop event as seen by one worker: the first wait that
// sees the event clears it, so the sighting is remembered here.
class StopSignal {
public:
    explicit StopSignal(HANDLE event) : event_(event) {}
    // A wait of zero time on the event.
    bool IsSet();
    // IsSet at most every 50 ms: for loops that move data without blocking,
    // where a wait per block would cost more than the block.
    bool Poll();
    void Note() { seen_ = true; }
    void Forget() { seen_ = false; }
    bool seen() const { return seen_; }
    HANDLE event() const { return event_; }
    // Sleeps for ms unless a stop comes first; true when it slept.
    bool Pause(DWORD ms);

private:
    HANDLE event_;
    bool seen_ = false;
    ULONGLONG lastPoll_ = 0;
};

// Failures set the thread's last error: WSAEINTR for a stop, WSAETIMEDOUT
// for a time-out, otherwise the socket's own error.
class NetSocket {
public:
    NetSocket() = default;
    ~NetSocket() { Close(); }
    NetSocket(const NetSocket&) = delete;
    NetSocket& operator=(const NetSocket&) = delete;

    bool Create();
    void Close();
    bool valid() const { return socket_ != ~std::uintptr_t{0}; }

    // address and port in host byte order.
    bool Connect(std::uint32_t address, std::uint16_t port, StopSignal& stop);
    // The IPv4 address of the connected peer, in host byte order.
    bool PeerAddress(std::uint32_t& address) const;
    bool SendAll(const void* data, std::size_t size, StopSignal& stop);
    // > 0: bytes received; 0: the peer closed the connection; -1: failure.
    int Receive(void* buffer, int size, StopSignal& stop);
    // Like Receive, but leaves the bytes in the socket.
    int Peek(void* buffer, int size, StopSignal& stop);
    // Reads exactly size bytes, whatever pieces they come in.
    bool ReceiveExact(void* buffer, std::size_t size, StopSignal& stop);

private:
    // Waits until the socket signals a network event, the stop event is set
    // or the deadline passes; the events seen are in *events.
    int ReceiveWith(int flags, void* buffer, int size, StopSignal& stop);
    bool Wait(ULONGLONG deadline, StopSignal& stop, long* events, int* connectError, int* closeError);

    // A SOCKET and a WSAEVENT, kept opaque so that this header does not
    // decide the order of the Winsock and Windows headers for its users.
    std::uintptr_t socket_ = ~std::uintptr_t{0};
    HANDLE event_ = nullptr;      // connect and send readiness
    HANDLE readEvent_ = nullptr;  // completion of an overlapped receive
};
