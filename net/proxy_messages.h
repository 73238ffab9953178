// Bytes of the proxy handshakes (SOCKS 4/4A, SOCKS 5 with RFC 1929
// credentials, HTTP CONNECT) and the checks of their replies. Addresses are
// IPv4 in host byte order; they go on the wire in network order.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace net {

using ByteString = std::vector<std::uint8_t>;

// Proxy kinds in the order of the settings page.
enum ProxyType : std::int32_t {
    kProxyNone = 0,
    kProxyHttp = 1,
    kProxySocks4 = 2,
    kProxySocks4a = 3,
    kProxySocks5 = 4,
    kProxyIsa = 5,
};

// A host text counts as a name when it holds a letter; names are resolved by
// the client or passed to the proxy, dotted numbers never are.
bool HostIsName(std::string_view host);

std::string EncodeBase64(std::string_view bytes);
std::string DottedAddress(std::uint32_t address);

// With a non-empty name the 4A form: address 0.0.0.1, the name and a zero.
ByteString Socks4Request(std::uint32_t address, std::uint16_t port, std::string_view name = {});
constexpr std::size_t kSocks4ReplySize = 8;
bool Socks4Granted(const std::uint8_t* reply);

ByteString Socks5Greeting(bool withCredentials);
constexpr std::size_t kSocks5MethodReplySize = 2;
// The method the proxy chose: 0 (none) or 2 (user name/password); -1 when it
// cannot be used.
int Socks5ChosenMethod(const std::uint8_t* reply, bool withCredentials);
// False when the user name or password does not fit its one length byte.
bool Socks5CredentialRequest(std::string_view user, std::string_view password, ByteString& out);
constexpr std::size_t kSocks5AuthReplySize = 2;
bool Socks5CredentialsAccepted(const std::uint8_t* reply);
// With a non-empty name, address type 3 carrying the name (at most 255 bytes).
bool Socks5ConnectRequest(std::uint32_t address, std::uint16_t port, std::string_view name, ByteString& out);
constexpr std::size_t kSocks5ReplyHeadSize = 5;
// Given the first 5 bytes of the reply: how many bytes of it remain, or -1
// when the proxy refused or the address type is unknown.
int Socks5ReplyRemainder(const std::uint8_t* head);

std::string ConnectRequest(std::string_view host, std::uint16_t port, bool withCredentials, std::string_view user,
                           std::string_view password);

enum class ConnectStep { More, Granted, Refused };

// Reads the proxy's reply head to a CONNECT byte by byte: anything that
// does not start "HTTP/", has no blank before the first CR LF, or does not
// carry a 2xx status is refused as soon as it shows.
class ConnectReplyReader {
public:
    ConnectStep Add(char c);

private:
    std::string text_;
};

}  // namespace net
