// Reads arbitrary bytes as what a server sent over TLS: the record scan
// and the alert reader must stay inside the bytes and agree with each other.
#include <cstddef>
#include <cstdint>

#include "net/tls_records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t limit = size ? data[0] * 97u : net::kTlsMaxRecordBody;
    const net::RecordScan scan = net::ScanTlsRecords(data, size, limit);
    if (scan.complete > size) __builtin_trap();
    if ((scan.records == 0) != (scan.complete == 0)) __builtin_trap();
    if (scan.complete && scan.complete < scan.records * net::kTlsRecordHeader) __builtin_trap();
    // Whole records are whole again when scanned on their own.
    const net::RecordScan again = net::ScanTlsRecords(data, scan.complete, limit);
    if (again.records != scan.records || again.complete != scan.complete) __builtin_trap();
    const int alert = net::LeadingFatalAlert(data, size);
    if (alert < -1 || alert > 255) __builtin_trap();
    if (alert >= 0 && size < net::kTlsRecordHeader + 2) __builtin_trap();
    return 0;
}
