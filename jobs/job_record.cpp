#include "jobs/job_record.h"

namespace {

// The fields of a job in their stored order, for writing (a const record)
// and reading alike. reservedWord has no meaning and is written as 0.
template <typename Archive, typename Record>
void JobFields(Archive& a, Record& job, std::int32_t& reserved) {
    a.I32(job.hopLevel);
    a.Text(job.targetCatalog);
    a.Text(job.status);
    a.Text(job.password);
    a.Text(job.url);
    a.Text(job.userName);
    a.Text(job.downloadFolder);
    a.Text(job.pageFileName);
    a.Text(job.linkText);
    a.Text(job.rootCatalog);
    a.Text(job.rootPageName);
    a.U32(job.receivedBytes);
    a.U32(job.totalBytes);
    a.F64(job.bytesPerSecond);
    a.U32(job.serviceType);
    a.U16(job.port);
    a.Text(job.startedUrl);
    a.Text(job.objectPath);
    a.Text(job.serverHost);
    a.I32(reserved);
    a.Text(job.fileName);
    a.I32(job.proxy.UsingLogon);
    a.I32(job.proxy.Type);
    a.Text(job.proxy.Domain);
    a.Text(job.proxy.Password);
    a.Text(job.proxy.User);
    a.U32(job.proxy.IPAddress);
    a.I32(job.proxy.Port);
}

}  // namespace

void WriteJobRecord(arc::ArchiveWriter& w, const JobRecord& job) {
    std::int32_t reserved = 0;
    JobFields(w, job, reserved);
}

bool ReadJobRecord(arc::ArchiveReader& r, JobRecord& job) {
    std::int32_t reserved = 0;
    JobFields(r, job, reserved);
    return r.ok();
}

arc::Bytes EncodeJobFile(const std::vector<const JobRecord*>& jobs) {
    arc::ArchiveWriter w;
    w.U32(kJobFileVersion);
    w.U32(static_cast<std::uint32_t>(jobs.size()));
    for (const JobRecord* job : jobs) WriteJobRecord(w, *job);
    return w.Take();
}

DecodedJobFile DecodeJobFile(const arc::Bytes& content) {
    DecodedJobFile out;
    if (content.empty()) return out;
    arc::ArchiveReader r(content);
    std::uint32_t version = 0, count = 0;
    if (!r.U32(version) || !r.U32(count)) {
        out.damaged = true;
        return out;
    }
    // A later layout cannot be read with this one.
    if (version > kJobFileVersion) {
        out.newerFormat = true;
        return out;
    }
    // The count is only trusted as far as the bytes carry records.
    for (std::uint32_t i = 0; i < count; ++i) {
        JobRecord job;
        if (!ReadJobRecord(r, job)) {
            out.damaged = true;
            break;
        }
        job.formatVersion = version;
        job.number = static_cast<std::int32_t>(out.jobs.size());
        out.jobs.push_back(std::move(job));
    }
    return out;
}
