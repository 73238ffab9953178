// Reads arbitrary bytes as a job file; what decodes must encode back to the
// same records.
#include <cstddef>
#include <cstdint>

#include "jobs/job_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DecodedJobFile d = DecodeJobFile(arc::Bytes(data, data + size));
    std::vector<const JobRecord*> jobs;
    for (const JobRecord& j : d.jobs) jobs.push_back(&j);
    const DecodedJobFile again = DecodeJobFile(EncodeJobFile(jobs));
    if (again.damaged || again.jobs.size() != d.jobs.size()) __builtin_trap();
    return 0;
}
