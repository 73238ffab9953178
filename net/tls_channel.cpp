// Winsock must come before <windows.h>.
#include <winsock2.h>

#define SECURITY_WIN32
#include <windows.h>
#include <wincrypt.h>
#include <schannel.h>
#include <security.h>

#include "net/tls_channel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Under Wine a receive costs about as much as a record; at least this much
// room per receive keeps the call count near one per record or below.
constexpr std::size_t kMinReceive = 16 * 1024;
// What a handshake may cost the server to send: certificates included, far
// below this; a peer that sends more is not finishing a handshake.
constexpr std::size_t kMaxHandshakeBytes = 256 * 1024;

constexpr ULONG kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_MANUAL_CRED_VALIDATION;
// Certificates are checked here, never by the provider, which under Wine
// checks nothing.
constexpr DWORD kCredentialFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;
constexpr DWORD kModernProtocols = SP_PROT_TLS1_2 | SP_PROT_TLS1_3;

// The newer credential structure, which these headers lack; laid out as the
// platform's own (version 5).
struct TlsParameters {
    DWORD cAlpnIds;
    void* rgstrAlpnIds;
    DWORD grbitDisabledProtocols;
    DWORD cDisabledCrypto;
    void* pDisabledCrypto;
    DWORD dwFlags;
};
struct SchCredentials {
    DWORD dwVersion;
    DWORD dwCredFormat;
    DWORD cCreds;
    PCCERT_CONTEXT* paCred;
    HCERTSTORE hRootStore;
    DWORD cMappers;
    void** aphMappers;
    DWORD dwSessionLifespan;
    DWORD dwFlags;
    DWORD cTlsParameters;
    TlsParameters* pTlsParameters;
};
constexpr DWORD kSchCredentialsVersion = 5;

SecBuffer* FindBuffer(SecBuffer* buffers, int count, unsigned long type) {
    for (int i = 0; i < count; ++i)
        if (buffers[i].BufferType == type) return &buffers[i];
    return nullptr;
}

}  // namespace

struct TlsChannel::Handles {
    CredHandle credentials{};
    CtxtHandle context{};
    bool haveCredentials = false;
    bool haveContext = false;

    ~Handles() {
        if (haveContext) DeleteSecurityContext(&context);
        if (haveCredentials) FreeCredentialsHandle(&credentials);
    }
};

TlsChannel::TlsChannel(NetSocket& socket) : socket_(socket), handles_(std::make_unique<Handles>()) {}

TlsChannel::~TlsChannel() = default;

bool TlsChannel::Refuse(net::TlsFailure failure) {
    if (failure_ == net::TlsFailure::None) failure_ = failure;
    WSASetLastError(WSAECONNABORTED);
    return false;
}

int TlsChannel::RefuseRead(net::TlsFailure failure) {
    Refuse(failure);
    return -1;
}

std::string TlsChannel::FailureText() const {
    std::string text = net::TlsFailureText(failure_);
    if (providerStatus_ && !text.empty()) {
        char code[24];
        std::snprintf(code, sizeof code, " (0x%08lX)", static_cast<unsigned long>(providerStatus_));
        text.insert(text.size() - 1, code);
    }
    return text;
}

bool TlsChannel::Open(const std::string& host, StopSignal& stop) {
    host_ = host;
    in_.assign(2 * (net::kTlsRecordHeader + net::kTlsMaxRecordBody) + 4 * kMinReceive, 0);
    open_ = AcquireCredentials() && Handshake(host, stop) && CheckProtocol() && CheckCertificate(host);
    return open_;
}

bool TlsChannel::AcquireCredentials() {
    TimeStamp expiry;
    char* package = const_cast<char*>(UNISP_NAME_A);
    // The newer structure is the only one that can ask for TLS 1.3; systems
    // that predate it refuse it, and get the older one with TLS 1.2.
    TlsParameters parameters{};
    parameters.grbitDisabledProtocols = SP_PROT_SSL2_CLIENT | SP_PROT_SSL3_CLIENT | SP_PROT_TLS1_0_CLIENT |
                                        SP_PROT_TLS1_1_CLIENT;
    SchCredentials current{};
    current.dwVersion = kSchCredentialsVersion;
    current.dwFlags = kCredentialFlags;
    current.cTlsParameters = 1;
    current.pTlsParameters = &parameters;
    if (AcquireCredentialsHandleA(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &current, nullptr, nullptr,
                                  &handles_->credentials, &expiry) == SEC_E_OK) {
        handles_->haveCredentials = true;
        return true;
    }
    SCHANNEL_CRED older{};
    older.dwVersion = SCHANNEL_CRED_VERSION;
    older.dwFlags = kCredentialFlags;
    older.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    if (AcquireCredentialsHandleA(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &older, nullptr, nullptr,
                                  &handles_->credentials, &expiry) == SEC_E_OK) {
        handles_->haveCredentials = true;
        return true;
    }
    return Refuse(net::TlsFailure::HandshakeRefused);
}

bool TlsChannel::RefuseFraming(net::RecordCheck check) {
    return Refuse(check == net::RecordCheck::NotTls ? net::TlsFailure::NotTls : net::TlsFailure::RecordTooLong);
}

bool TlsChannel::CheckFraming() {
    const net::RecordScan scan = net::ScanTlsRecords(in_.data() + inStart_, inEnd_ - inStart_);
    // Once the connection is open, whole records before a bad header are
    // still taken; the refusal comes when the bad one is next.
    if (scan.check == net::RecordCheck::Complete || (open_ && scan.records > 0)) return true;
    return RefuseFraming(scan.check);
}

bool TlsChannel::ReceiveMore(StopSignal& stop) {
    if (closed_ || failure_ != net::TlsFailure::None) return false;
    if (in_.size() - inEnd_ < kMinReceive) {
        // Only raw bytes are kept: the plain window is empty whenever more
        // is received.
        std::memmove(in_.data(), in_.data() + inStart_, inEnd_ - inStart_);
        inEnd_ -= inStart_;
        inStart_ = 0;
        plainStart_ = plainEnd_ = 0;
    }
    if (in_.size() - inEnd_ < kMinReceive) return Refuse(net::TlsFailure::RecordTooLong);
    const int n = socket_.Receive(in_.data() + inEnd_, static_cast<int>(in_.size() - inEnd_), stop);
    if (n < 0) return false;
    if (n == 0) {
        closed_ = true;
        if (inEnd_ > inStart_) return Refuse(net::TlsFailure::CutRecord);
        WSASetLastError(WSAECONNRESET);
        return false;
    }
    inEnd_ += static_cast<std::size_t>(n);
    return CheckFraming();
}

bool TlsChannel::Handshake(const std::string& host, StopSignal& stop) {
    Handles& h = *handles_;
    char* target = const_cast<char*>(host.c_str());
    const ULONGLONG deadline = GetTickCount64() + NetTuning().idleMs;
    std::size_t received = 0;
    bool first = true, needMore = false, retried = false;
    for (;;) {
        if (!first && stop.IsSet()) {
            stop.Note();
            WSASetLastError(WSAEINTR);
            return false;
        }
        if (!first && GetTickCount64() > deadline) {
            WSASetLastError(WSAETIMEDOUT);
            return false;
        }
        if (!first && (needMore || inStart_ == inEnd_)) {
            const std::size_t before = inEnd_ - inStart_;
            if (!ReceiveMore(stop)) {
                if (closed_ && failure_ == net::TlsFailure::None) return Refuse(net::TlsFailure::HandshakeRefused);
                return false;
            }
            received += inEnd_ - inStart_ - before;
            if (received > kMaxHandshakeBytes) return Refuse(net::TlsFailure::HandshakeRefused);
            if (GetTickCount64() > deadline) {
                WSASetLastError(WSAETIMEDOUT);
                return false;
            }
            // A server that will not speak a protocol we offer says so in
            // an alert instead of a hello.
            const int alert = net::LeadingFatalAlert(in_.data() + inStart_, inEnd_ - inStart_);
            if (alert == net::kAlertProtocolVersion || alert == net::kAlertInsufficientSecurity)
                return Refuse(net::TlsFailure::OldProtocol);
            if (alert >= 0) return Refuse(net::TlsFailure::HandshakeRefused);
        }
        SecBuffer in[2] = {{static_cast<unsigned long>(inEnd_ - inStart_), SECBUFFER_TOKEN, in_.data() + inStart_},
                           {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
        SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
        SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &out};
        ULONG attributes = 0;
        const SECURITY_STATUS s =
            InitializeSecurityContextA(&h.credentials, first ? nullptr : &h.context, target,
                                       kContextFlags | (retried ? ISC_REQ_USE_SUPPLIED_CREDS : 0), 0, 0,
                                       first ? nullptr : &inDesc, 0, first ? &h.context : nullptr, &outDesc,
                                       &attributes, nullptr);
        if (first && (s == SEC_I_CONTINUE_NEEDED || s == SEC_E_OK)) h.haveContext = true;
        bool sent = true;
        if (out.pvBuffer) {
            if (out.cbBuffer && (!FAILED(s) || (attributes & ISC_RET_EXTENDED_ERROR)))
                sent = socket_.SendAll(out.pvBuffer, out.cbBuffer, stop);
            FreeContextBuffer(out.pvBuffer);
        }
        if (!sent && !FAILED(s)) return false;
        if (s == SEC_E_INCOMPLETE_MESSAGE) {
            needMore = true;
            continue;
        }
        if (s == SEC_I_INCOMPLETE_CREDENTIALS && !retried) {
            // A server that asks for a client certificate gets none: ask
            // again with the same bytes and the credentials as they are
            // (without that flag the provider asks for a certificate again).
            retried = true;
            continue;
        }
        if (s != SEC_E_OK && s != SEC_I_CONTINUE_NEEDED) {
            providerStatus_ = s;
            return Refuse(net::TlsFailure::HandshakeRefused);
        }
        bool stalled = false;
        if (!first) {
            const SecBuffer& extra = in[1];
            const std::size_t before = inStart_;
            inStart_ = (extra.BufferType == SECBUFFER_EXTRA && extra.cbBuffer <= inEnd_ - inStart_)
                           ? inEnd_ - extra.cbBuffer
                           : inEnd_;
            // Nothing taken and nothing to send: only more bytes can help.
            stalled = s == SEC_I_CONTINUE_NEEDED && inStart_ == before && out.cbBuffer == 0;
        }
        first = false;
        needMore = stalled;
        if (s == SEC_E_OK) return true;
    }
}

bool TlsChannel::CheckProtocol() {
    CtxtHandle* context = &handles_->context;
    SecPkgContext_ConnectionInfo info{};
    if (QueryContextAttributesA(context, SECPKG_ATTR_CONNECTION_INFO, &info) != SEC_E_OK)
        return Refuse(net::TlsFailure::HandshakeRefused);
    if (!(info.dwProtocol & kModernProtocols) || (info.dwProtocol & ~kModernProtocols))
        return Refuse(net::TlsFailure::OldProtocol);
    tls13_ = (info.dwProtocol & SP_PROT_TLS1_3) != 0;
    SecPkgContext_StreamSizes sizes{};
    if (QueryContextAttributesA(context, SECPKG_ATTR_STREAM_SIZES, &sizes) != SEC_E_OK || sizes.cbMaximumMessage == 0)
        return Refuse(net::TlsFailure::HandshakeRefused);
    header_ = sizes.cbHeader;
    trailer_ = sizes.cbTrailer;
    maxMessage_ = sizes.cbMaximumMessage;
    // Room for the largest record the context announces, twice over, and a
    // full receive beside it.
    const std::size_t wanted = 2 * (header_ + maxMessage_ + trailer_) + 4 * kMinReceive;
    if (wanted > in_.size()) in_.resize(wanted);
    return true;
}

bool TlsChannel::CheckCertificate(const std::string& host) {
    PCCERT_CONTEXT certificate = nullptr;
    if (QueryContextAttributesA(&handles_->context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK ||
        !certificate)
        return Refuse(net::TlsFailure::BadCertificate);
    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuth};
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    // The certificates the server sent are the only other store consulted;
    // revocation is not checked (it would need the network at every start).
    const BOOL built = CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &para, 0,
                                               nullptr, &chain);
    net::TlsFailure verdict = net::TlsFailure::BadCertificate;
    if (built && chain) {
        std::wstring name(host.size() + 1, L'\0');
        const int length = MultiByteToWideChar(CP_ACP, 0, host.c_str(), static_cast<int>(host.size()), name.data(),
                                               static_cast<int>(name.size()));
        name.resize(static_cast<std::size_t>(std::max(length, 0)));
        SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
        ssl.cbSize = sizeof ssl;
        ssl.dwAuthType = AUTHTYPE_SERVER;
        ssl.pwszServerName = name.data();
        CERT_CHAIN_POLICY_PARA policy{};
        policy.cbSize = sizeof policy;
        policy.pvExtraPolicyPara = &ssl;
        CERT_CHAIN_POLICY_STATUS status{};
        status.cbSize = sizeof status;
        const BOOL checked = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
        verdict = net::CertificateVerdict(chain->TrustStatus.dwErrorStatus,
                                          checked ? status.dwError : static_cast<std::uint32_t>(TRUST_E_FAIL), false);
        CertFreeCertificateChain(chain);
    }
    CertFreeCertificateContext(certificate);
    return verdict == net::TlsFailure::None || Refuse(verdict);
}

bool TlsChannel::SendAll(const void* data, std::size_t size, StopSignal& stop) {
    std::vector<std::uint8_t> record(header_ + maxMessage_ + trailer_);
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const std::size_t n = std::min(size, maxMessage_);
        std::memcpy(record.data() + header_, p, n);
        SecBuffer b[4] = {{static_cast<unsigned long>(header_), SECBUFFER_STREAM_HEADER, record.data()},
                          {static_cast<unsigned long>(n), SECBUFFER_DATA, record.data() + header_},
                          {static_cast<unsigned long>(trailer_), SECBUFFER_STREAM_TRAILER, record.data() + header_ + n},
                          {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, b};
        if (EncryptMessage(&handles_->context, 0, &desc, 0) != SEC_E_OK) return Refuse(net::TlsFailure::Undecryptable);
        // The trailer may come out shorter than its room; the parts lie
        // where the provider left them.
        const std::size_t total = b[0].cbBuffer + b[1].cbBuffer + b[2].cbBuffer;
        if (b[1].pvBuffer == record.data() + b[0].cbBuffer && b[2].pvBuffer != record.data() + b[0].cbBuffer + b[1].cbBuffer)
            std::memmove(record.data() + b[0].cbBuffer + b[1].cbBuffer, b[2].pvBuffer, b[2].cbBuffer);
        if (!socket_.SendAll(record.data(), total, stop)) return false;
        p += n;
        size -= n;
    }
    return true;
}

bool TlsChannel::TakePostHandshakeMessage(std::uint8_t* data, unsigned long size, StopSignal& stop) {
    SecBuffer in[2] = {{size, SECBUFFER_TOKEN, data}, {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &out};
    ULONG attributes = 0;
    const SECURITY_STATUS s = InitializeSecurityContextA(&handles_->credentials, &handles_->context,
                                                         const_cast<char*>(host_.c_str()), kContextFlags, 0, 0, &inDesc,
                                                         0, nullptr, &outDesc, &attributes, nullptr);
    // A key update the server asked for is answered: what this side sends
    // afterwards is under the new keys.
    bool sent = true;
    if (out.pvBuffer) {
        if (s == SEC_E_OK && out.cbBuffer) sent = socket_.SendAll(out.pvBuffer, out.cbBuffer, stop);
        FreeContextBuffer(out.pvBuffer);
    }
    if (s != SEC_E_OK) return Refuse(net::TlsFailure::Renegotiation);
    if (!sent) return false;
    inStart_ = in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer <= inEnd_ - inStart_ ? inEnd_ - in[1].cbBuffer
                                                                                           : inEnd_;
    return true;
}

int TlsChannel::NextPlain(StopSignal& stop) {
    for (;;) {
        if (failure_ != net::TlsFailure::None) return -1;
        if (ended_) return 0;
        const net::RecordScan scan = net::ScanTlsRecords(in_.data() + inStart_, inEnd_ - inStart_);
        if (scan.records == 0) {
            if (scan.check != net::RecordCheck::Complete) {
                RefuseFraming(scan.check);
                return -1;
            }
            if (closed_) return 0;  // closed between records: the caller decides whether all came
            if (!ReceiveMore(stop)) return closed_ && failure_ == net::TlsFailure::None ? 0 : -1;
            continue;
        }
        std::uint8_t* start = in_.data() + inStart_;
        SecBuffer b[4] = {{static_cast<unsigned long>(inEnd_ - inStart_), SECBUFFER_DATA, start},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, b};
        const SECURITY_STATUS s = DecryptMessage(&handles_->context, &desc, 0, nullptr);
        if (s == SEC_E_INCOMPLETE_MESSAGE) {
            if (!ReceiveMore(stop)) return closed_ && failure_ == net::TlsFailure::None ? 0 : -1;
            continue;
        }
        const SecBuffer* extra = FindBuffer(b, 4, SECBUFFER_EXTRA);
        const std::size_t next =
            extra && extra->cbBuffer <= inEnd_ - inStart_ ? inEnd_ - extra->cbBuffer : inEnd_;
        if (s == SEC_E_OK) {
            const SecBuffer* plain = FindBuffer(b, 4, SECBUFFER_DATA);
            if (plain && plain->cbBuffer) {
                const auto* p = static_cast<const std::uint8_t*>(plain->pvBuffer);
                // Decrypted in place: the plain bytes lie inside the record.
                if (p < start || p + plain->cbBuffer > in_.data() + next) return RefuseRead(net::TlsFailure::Undecryptable);
                plainStart_ = static_cast<std::size_t>(p - in_.data());
                plainEnd_ = plainStart_ + plain->cbBuffer;
            }
            inStart_ = next;
            if (plainEnd_ > plainStart_) return 1;
            continue;
        }
        if (s == SEC_I_CONTEXT_EXPIRED) {
            ended_ = true;
            inStart_ = next;
            return 0;
        }
        if (s == SEC_I_RENEGOTIATE) {
            // TLS 1.3 sends tickets and key updates after the handshake and
            // the provider reports them so; only TLS 1.2 renegotiates.
            if (!tls13_) return RefuseRead(net::TlsFailure::Renegotiation);
            std::uint8_t* message = in_.data() + next;
            if (!TakePostHandshakeMessage(message, static_cast<unsigned long>(inEnd_ - next), stop)) return -1;
            continue;
        }
        return RefuseRead(net::TlsFailure::Undecryptable);
    }
}

int TlsChannel::Take(void* buffer, int size, StopSignal& stop, bool consume) {
    if (plainStart_ == plainEnd_) {
        const int r = NextPlain(stop);
        if (r <= 0) return r;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(size), plainEnd_ - plainStart_);
    std::memcpy(buffer, in_.data() + plainStart_, n);
    if (consume) plainStart_ += n;
    return static_cast<int>(n);
}
