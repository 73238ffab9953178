// Winsock must come before <windows.h>.
#include <winsock2.h>

#include "net/proxy_connect.h"

#include <cstdio>
#include <string>

#include "net/download_thread.h"
#include "net/proxy_messages.h"

namespace {

constexpr std::uint32_t kNoAddress = ConnectTarget::kNoAddress;

bool Fail(int error) {
    WSASetLastError(error);
    return false;
}

bool Send(NetSocket& s, const net::ByteString& bytes, StopSignal& stop) {
    return s.SendAll(bytes.data(), bytes.size(), stop);
}

bool Socks4(NetSocket& s, std::uint32_t address, std::uint16_t port, const std::string& name, StopSignal& stop) {
    if (!Send(s, net::Socks4Request(address, port, address == kNoAddress ? name : std::string()), stop)) return false;
    std::uint8_t reply[net::kSocks4ReplySize];
    if (!s.ReceiveExact(reply, sizeof reply, stop)) return false;
    return net::Socks4Granted(reply) || Fail(WSAECONNREFUSED);
}

bool Socks5(NetSocket& s, std::uint32_t address, std::uint16_t port, const std::string& name,
            const ProxySnapshot& proxy, StopSignal& stop) {
    const bool logon = proxy.UsingLogon != 0;
    if (!Send(s, net::Socks5Greeting(logon), stop)) return false;
    std::uint8_t method[net::kSocks5MethodReplySize];
    if (!s.ReceiveExact(method, sizeof method, stop)) return false;
    const int chosen = net::Socks5ChosenMethod(method, logon);
    if (chosen < 0) return Fail(WSAECONNREFUSED);
    if (chosen == 2) {
        net::ByteString auth;
        if (!net::Socks5CredentialRequest(proxy.User, proxy.Password, auth)) return Fail(WSAEINVAL);
        if (!Send(s, auth, stop)) return false;
        std::uint8_t answer[net::kSocks5AuthReplySize];
        if (!s.ReceiveExact(answer, sizeof answer, stop)) return false;
        if (!net::Socks5CredentialsAccepted(answer)) return Fail(WSAECONNREFUSED);
    }
    net::ByteString request;
    if (!net::Socks5ConnectRequest(address, port, address == kNoAddress ? name : std::string(), request))
        return Fail(WSAEINVAL);
    if (!Send(s, request, stop)) return false;
    std::uint8_t reply[5 + 257];
    if (!s.ReceiveExact(reply, net::kSocks5ReplyHeadSize, stop)) return false;
    const int rest = net::Socks5ReplyRemainder(reply);
    if (rest < 0) return Fail(WSAECONNREFUSED);
    return s.ReceiveExact(reply + net::kSocks5ReplyHeadSize, static_cast<std::size_t>(rest), stop);
}

bool HttpConnect(NetSocket& s, const std::string& host, std::uint16_t port, const ProxySnapshot& proxy,
                 StopSignal& stop) {
    const std::string request = net::ConnectRequest(host, port, proxy.UsingLogon != 0, proxy.User, proxy.Password);
    if (!s.SendAll(request.data(), request.size(), stop)) return false;
    net::ConnectReplyReader reader;
    for (;;) {
        char c;
        const int n = s.Receive(&c, 1, stop);
        if (n <= 0) return n == 0 ? Fail(WSAECONNRESET) : false;
        switch (reader.Add(c)) {
            case net::ConnectStep::More: break;
            case net::ConnectStep::Granted: return true;
            case net::ConnectStep::Refused: return Fail(WSAECONNREFUSED);
        }
    }
}

// Connects to the proxy and runs its handshake. `address` is kNoAddress
// when the proxy is to resolve `host`.
bool ThroughProxy(NetSocket& s, std::uint32_t address, const std::string& host, std::uint16_t port,
                  const ProxySnapshot& proxy, StopSignal& stop) {
    if (!s.Connect(proxy.IPAddress, static_cast<std::uint16_t>(proxy.Port), stop)) return false;
    switch (proxy.Type) {
        case net::kProxyHttp: return HttpConnect(s, host, port, proxy, stop);
        case net::kProxySocks4:
        case net::kProxySocks4a: return Socks4(s, address, port, host, stop);
        case net::kProxySocks5: return Socks5(s, address, port, host, proxy, stop);
        default: return Fail(WSAEOPNOTSUPP);
    }
}

std::string Format(const char* format, const std::string& text, unsigned number) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, text.c_str(), number);
    return buffer;
}

}  // namespace

bool IsCancelled(DownloadJob& job) { return job.stop.IsSet(); }

bool ConnectViaProxy(NetSocket& socket, DownloadJob& job, ConnectTarget* reached) {
    std::string host;
    std::uint16_t port;
    {
        auto guard = job.Lock();
        host = job.serverHost;
        port = job.port;
    }
    const ProxySnapshot& proxy = job.proxy;
    std::uint32_t address = kNoAddress;
    if (net::HostIsName(host) && (proxy.Type == net::kProxyNone || proxy.Type == net::kProxySocks4)) {
        PostJobStatus(job, "Start name resovle");
        const hostent* found = gethostbyname(host.c_str());
        const int error = WSAGetLastError();
        PostJobStatus(job, "End name resovle");
        if (IsCancelled(job)) return Fail(WSAEINTR);
        if (!found || found->h_addrtype != AF_INET || !found->h_addr_list[0]) {
            auto guard = job.Lock();
            job.status = "Can not resolve the server name!";
            return Fail(error ? error : WSAHOST_NOT_FOUND);
        }
        address = ntohl(*reinterpret_cast<const std::uint32_t*>(found->h_addr_list[0]));
    } else {
        address = ntohl(inet_addr(host.c_str()));
    }
    if (proxy.Type == net::kProxyNone) {
        PostJobStatus(job, Format("Connecting to %s:%u", host, port));
        if (address == kNoAddress) return Fail(WSAHOST_NOT_FOUND);
        if (!socket.Connect(address, port, job.stop)) return false;
        if (reached && !socket.PeerAddress(address)) return false;
        if (reached) *reached = {host, address};
        return true;
    }
    PostJobStatus(job, "Connecting to proxy server");
    PostJobStatus(job, Format("Connecting to proxy %s:%u", net::DottedAddress(proxy.IPAddress),
                              static_cast<unsigned>(proxy.Port) & 0xFFFF));
    if (!ThroughProxy(socket, address, host, port, proxy, job.stop)) {
        socket.Close();
        return false;
    }
    if (IsCancelled(job)) return Fail(WSAEINTR);
    if (reached) *reached = {host, address};
    return true;
}

bool ConnectAddressViaProxy(NetSocket& socket, const ConnectTarget& control, std::uint16_t port,
                            const ProxySnapshot& proxy, DownloadJob& job) {
    bool ok;
    if (proxy.Type == net::kProxyNone)
        ok = control.address != kNoAddress ? socket.Connect(control.address, port, job.stop)
                                           : Fail(WSAHOST_NOT_FOUND);
    else
        ok = ThroughProxy(socket, control.address, control.host, port, proxy, job.stop);
    if (!ok) socket.Close();
    return ok;
}
