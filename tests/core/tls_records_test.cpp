#include "net/tls_records.h"

#include <gtest/gtest.h>

#include "tests/core/test_bytes.h"

using testbytes::Bytes;
using testbytes::Hex;

namespace {

net::RecordScan Scan(const Bytes& b, std::size_t maxBody = net::kTlsMaxRecordBody) {
    return net::ScanTlsRecords(b.data(), b.size(), maxBody);
}

}  // namespace

TEST(TlsRecords, CountsWholeRecordsAndLeavesACutOneForLater) {
    // A handshake record of 3 bytes, an application record of 2, and the
    // first 4 bytes of a third one's header.
    const Bytes b = Hex("1603030003aabbcc" "170303000211221703" "03");
    const net::RecordScan s = Scan(b);
    EXPECT_EQ(s.check, net::RecordCheck::Complete);
    EXPECT_EQ(s.records, 2u);
    EXPECT_EQ(s.complete, 15u);
    EXPECT_EQ(s.firstType, net::kTlsHandshake);
    // A header whose body has not all arrived counts nothing yet.
    const net::RecordScan cut = Scan(Hex("1603030010aabb"));
    EXPECT_EQ(cut.check, net::RecordCheck::Complete);
    EXPECT_EQ(cut.records, 0u);
    EXPECT_EQ(cut.complete, 0u);
    EXPECT_EQ(Scan({}).records, 0u);
}

TEST(TlsRecords, RefusesWhatNoTlsPeerSendsAsSoonAsItShows) {
    EXPECT_EQ(Scan(Hex("48")).check, net::RecordCheck::NotTls);              // "H" of an HTTP reply
    EXPECT_EQ(Scan(Hex("1604")).check, net::RecordCheck::NotTls);            // no major version 3
    EXPECT_EQ(Scan(Hex("13030300")).check, net::RecordCheck::NotTls);        // type below 20
    EXPECT_EQ(Scan(Hex("1603030000" "18")).check, net::RecordCheck::NotTls);  // type above 23, after a record
    // The limit is the body length a header announces, checked before the
    // body is there; exactly the limit passes.
    EXPECT_EQ(Scan(Hex("1603035000")).check, net::RecordCheck::TooLong);
    EXPECT_EQ(Scan(Hex("1603034801")).check, net::RecordCheck::TooLong);
    EXPECT_EQ(Scan(Hex("1603034800")).check, net::RecordCheck::Complete);
    EXPECT_EQ(Scan(Hex("1703030011"), 16).check, net::RecordCheck::TooLong);
}

TEST(TlsRecords, OnlyAPlainFatalAlertIsRead) {
    EXPECT_EQ(net::LeadingFatalAlert(Hex("15030300020246").data(), 7), net::kAlertProtocolVersion);
    EXPECT_EQ(net::LeadingFatalAlert(Hex("15030100020228").data(), 7), net::kAlertHandshakeFailure);
    EXPECT_EQ(net::LeadingFatalAlert(Hex("15030300020146").data(), 7), -1);  // a warning
    EXPECT_EQ(net::LeadingFatalAlert(Hex("150303000202").data(), 6), -1);    // cut
    EXPECT_EQ(net::LeadingFatalAlert(Hex("1503030003024600").data(), 8), -1);  // encrypted: longer
    EXPECT_EQ(net::LeadingFatalAlert(Hex("16030300020246").data(), 7), -1);
}

TEST(TlsRecords, CertificateVerdictTrustsTheChainBeforeThePolicy) {
    using namespace net::chain_errors;
    using net::TlsFailure;
    EXPECT_EQ(net::CertificateVerdict(0, 0, false), TlsFailure::None);
    // A policy check that passes an unknown issuer or a missing
    // intermediate does not pass the certificate.
    EXPECT_EQ(net::CertificateVerdict(kPartialChain | kUntrustedRoot, 0, false), TlsFailure::IncompleteChain);
    EXPECT_EQ(net::CertificateVerdict(kUntrustedRoot, 0, false), TlsFailure::UntrustedRoot);
    EXPECT_EQ(net::CertificateVerdict(kNotTimeValid, 0, false), TlsFailure::Expired);
    EXPECT_EQ(net::CertificateVerdict(0x00000008, 0, false), TlsFailure::BadCertificate);  // not signature-valid
    EXPECT_EQ(net::CertificateVerdict(0, net::policy_errors::kNameMismatch, false), TlsFailure::NameMismatch);
    EXPECT_EQ(net::CertificateVerdict(0, 0x80000000u, false), TlsFailure::BadCertificate);
    // An unknown revocation status counts only when revocation was checked;
    // a revocation the system knows of anyway always does.
    EXPECT_EQ(net::CertificateVerdict(kRevocationUnknown | kOfflineRevocation, 0, false), TlsFailure::None);
    EXPECT_EQ(net::CertificateVerdict(kRevocationUnknown, 0, true), TlsFailure::BadCertificate);
    EXPECT_EQ(net::CertificateVerdict(kRevoked, 0, true), TlsFailure::Revoked);
    EXPECT_EQ(net::CertificateVerdict(kRevoked | kRevocationUnknown, 0, false), TlsFailure::Revoked);
    EXPECT_EQ(net::CertificateVerdict(0, net::policy_errors::kRevoked, false), TlsFailure::Revoked);
}

TEST(TlsRecords, EveryFailureHasAText) {
    for (int f = static_cast<int>(net::TlsFailure::NotTls); f <= static_cast<int>(net::TlsFailure::Undecryptable); ++f) {
        const std::string text = net::TlsFailureText(static_cast<net::TlsFailure>(f));
        EXPECT_TRUE(net::IsTlsFailureText(text)) << f << " " << text;
        EXPECT_EQ(text.back(), '.');
    }
    EXPECT_FALSE(net::IsTlsFailureText("Failed."));
    EXPECT_FALSE(net::IsTlsFailureText(""));
}
