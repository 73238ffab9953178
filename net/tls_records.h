// What the download engine reads of TLS bytes itself, before the platform's
// TLS library sees them: the framing of records (so that a server speaking
// something else, or announcing an oversized record, is refused at once
// instead of being buffered until a time-out), the alert a server answers a
// handshake with, and the reasons a secure connection is refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace net {

constexpr std::size_t kTlsRecordHeader = 5;
// The longest record body a peer may send (2^14 bytes of data plus the
// expansion the protocol allows).
constexpr std::size_t kTlsMaxRecordBody = 16384 + 2048;

constexpr std::uint8_t kTlsChangeCipherSpec = 20;
constexpr std::uint8_t kTlsAlert = 21;
constexpr std::uint8_t kTlsHandshake = 22;
constexpr std::uint8_t kTlsApplicationData = 23;

enum class RecordCheck {
    Complete,  // the records in view are sound; `complete` bytes hold whole records
    NotTls,    // a header that no TLS peer sends
    TooLong,   // a record longer than the limit
};

struct RecordScan {
    RecordCheck check = RecordCheck::Complete;
    std::size_t complete = 0;  // bytes of whole records from the start
    std::size_t records = 0;   // how many whole records
    std::uint8_t firstType = 0;
};

// Checks every record header in data (the last record may be cut short: a
// partial header is checked as far as it goes). maxBody bounds the length a
// header may announce.
RecordScan ScanTlsRecords(const std::uint8_t* data, std::size_t size, std::size_t maxBody = kTlsMaxRecordBody);

// The description of a fatal unencrypted alert at the start of data (during
// the handshake a server answers what it will not do with one); -1 when data
// does not begin with a whole such record. Warnings are left to the provider.
int LeadingFatalAlert(const std::uint8_t* data, std::size_t size);

constexpr std::uint8_t kAlertProtocolVersion = 70;
constexpr std::uint8_t kAlertInsufficientSecurity = 71;
constexpr std::uint8_t kAlertHandshakeFailure = 40;

// Why a secure connection was refused or ended.
enum class TlsFailure {
    None,
    NotTls,            // the server answered with something that is not TLS
    RecordTooLong,     // a record longer than the protocol allows
    CutRecord,         // the connection closed in the middle of a record
    OldProtocol,       // only a protocol older than TLS 1.2 was on offer
    HandshakeRefused,  // the handshake failed for another reason
    NameMismatch,      // the certificate is for another host
    Expired,           // the certificate is expired or not yet valid
    UntrustedRoot,     // the chain ends at an authority that is not trusted
    IncompleteChain,   // the chain cannot be built up to an authority
    Revoked,           // the certificate was revoked
    BadCertificate,    // any other fault of the certificate or chain
    Renegotiation,     // the server asked to renegotiate
    Undecryptable,     // a record did not decrypt
};

// The job's status text for a failure.
const char* TlsFailureText(TlsFailure failure);
// Whether a status text is one of those (with or without the provider's
// code): a job that ends without a file keeps it instead of a bare failure.
bool IsTlsFailureText(std::string_view status);

// Error bits of a certificate chain's trust status, as the platform's
// certificate library reports them.
namespace chain_errors {
constexpr std::uint32_t kNotTimeValid = 0x00000001;
constexpr std::uint32_t kRevoked = 0x00000004;
constexpr std::uint32_t kUntrustedRoot = 0x00000020;
constexpr std::uint32_t kRevocationUnknown = 0x00000040;
constexpr std::uint32_t kPartialChain = 0x00010000;
constexpr std::uint32_t kCtlNotTimeValid = 0x00020000;
constexpr std::uint32_t kOfflineRevocation = 0x01000000;
}  // namespace chain_errors

// Errors of the SSL policy check.
namespace policy_errors {
constexpr std::uint32_t kExpired = 0x800B0101;
constexpr std::uint32_t kUntrustedRoot = 0x800B0109;
constexpr std::uint32_t kChaining = 0x800B010A;
constexpr std::uint32_t kNameMismatch = 0x800B010F;
constexpr std::uint32_t kRevoked = 0x80092010;
}  // namespace policy_errors

// The verdict on a server certificate from its chain's error bits and the
// policy check's error: None only when both are clean. The chain is asked
// first, because a policy check may pass a chain that ends at an unknown
// issuer. Unknown or offline revocation status counts only when revocation
// was checked; a certificate the system reports revoked is always refused.
TlsFailure CertificateVerdict(std::uint32_t chainErrors, std::uint32_t policyError, bool revocationChecked);

}  // namespace net
