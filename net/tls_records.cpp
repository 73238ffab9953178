#include "net/tls_records.h"

namespace net {

namespace {

bool IsRecordType(std::uint8_t type) { return type >= kTlsChangeCipherSpec && type <= kTlsApplicationData; }

}  // namespace

RecordScan ScanTlsRecords(const std::uint8_t* data, std::size_t size, std::size_t maxBody) {
    RecordScan scan;
    std::size_t at = 0;
    while (at < size) {
        const std::size_t left = size - at;
        const std::uint8_t* h = data + at;
        if (!IsRecordType(h[0]) || (left > 1 && h[1] != 3)) {
            scan.check = RecordCheck::NotTls;
            return scan;
        }
        if (left < kTlsRecordHeader) break;
        const std::size_t body = (static_cast<std::size_t>(h[3]) << 8) | h[4];
        if (body > maxBody) {
            scan.check = RecordCheck::TooLong;
            return scan;
        }
        if (left - kTlsRecordHeader < body) break;
        if (scan.records == 0) scan.firstType = h[0];
        ++scan.records;
        at += kTlsRecordHeader + body;
        scan.complete = at;
    }
    return scan;
}

int LeadingFatalAlert(const std::uint8_t* data, std::size_t size) {
    if (size < kTlsRecordHeader + 2 || data[0] != kTlsAlert || data[1] != 3) return -1;
    const std::size_t body = (static_cast<std::size_t>(data[3]) << 8) | data[4];
    if (body != 2 || data[kTlsRecordHeader] != 2) return -1;  // an encrypted alert is longer
    return data[kTlsRecordHeader + 1];
}

const char* TlsFailureText(TlsFailure failure) {
    switch (failure) {
        case TlsFailure::None: return "";
        case TlsFailure::NotTls: return "Secure connection failed: the server does not speak TLS.";
        case TlsFailure::RecordTooLong: return "Secure connection failed: the server sent an oversized record.";
        case TlsFailure::CutRecord:
            return "Secure connection failed: the server closed the connection in the middle of a record.";
        case TlsFailure::OldProtocol:
            return "Secure connection refused: the server offers only a protocol older than TLS 1.2.";
        case TlsFailure::HandshakeRefused: return "Secure connection failed: the handshake did not succeed.";
        case TlsFailure::NameMismatch:
            return "Secure connection refused: the server's certificate is for another name.";
        case TlsFailure::Expired:
            return "Secure connection refused: the server's certificate has expired or is not yet valid.";
        case TlsFailure::UntrustedRoot:
            return "Secure connection refused: the server's certificate is not issued by a trusted authority.";
        case TlsFailure::IncompleteChain:
            return "Secure connection refused: the server's certificate chain is incomplete.";
        case TlsFailure::Revoked: return "Secure connection refused: the server's certificate has been revoked.";
        case TlsFailure::BadCertificate: return "Secure connection refused: the server's certificate is not valid.";
        case TlsFailure::Renegotiation: return "Secure connection ended: the server asked to renegotiate.";
        case TlsFailure::Undecryptable: return "Secure connection failed: a record could not be decrypted.";
    }
    return "";
}

bool IsTlsFailureText(std::string_view status) {
    return status.starts_with("Secure connection refused: ") || status.starts_with("Secure connection failed: ") ||
           status.starts_with("Secure connection ended: ");
}

TlsFailure CertificateVerdict(std::uint32_t chainErrors, std::uint32_t policyError, bool revocationChecked) {
    using namespace chain_errors;
    // Unchecked revocation is unknown, not bad; a revocation the system
    // knows of anyway (a cached list, a distrusted certificate) still counts.
    if (!revocationChecked) chainErrors &= ~(kRevocationUnknown | kOfflineRevocation);
    if (chainErrors & kPartialChain) return TlsFailure::IncompleteChain;
    if (chainErrors & kUntrustedRoot) return TlsFailure::UntrustedRoot;
    if (chainErrors & (kNotTimeValid | kCtlNotTimeValid)) return TlsFailure::Expired;
    if (chainErrors & kRevoked) return TlsFailure::Revoked;
    if (chainErrors) return TlsFailure::BadCertificate;
    switch (policyError) {
        case 0: return TlsFailure::None;
        case policy_errors::kNameMismatch: return TlsFailure::NameMismatch;
        case policy_errors::kExpired: return TlsFailure::Expired;
        case policy_errors::kUntrustedRoot: return TlsFailure::UntrustedRoot;
        case policy_errors::kChaining: return TlsFailure::IncompleteChain;
        case policy_errors::kRevoked: return TlsFailure::Revoked;
        default: return TlsFailure::BadCertificate;
    }
}

}  // namespace net
