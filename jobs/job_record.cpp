#include "jobs/job_record.h"

void WriteJobRecord(arc::ArchiveWriter& w, const JobRecord& job) {
    w.I32(job.hopLevel);
    w.Text(job.targetCatalog);
    w.Text(job.status);
    w.Text(job.password);
    w.Text(job.url);
    w.Text(job.userName);
    w.Text(job.downloadFolder);
    w.Text(job.pageFileName);
    w.Text(job.linkText);
    w.Text(job.rootCatalog);
    w.Text(job.rootPageName);
    w.U32(job.receivedBytes);
    w.U32(job.totalBytes);
    w.F64(job.bytesPerSecond);
    w.U32(job.serviceType);
    w.U16(job.port);
    w.Text(job.startedUrl);
    w.Text(job.objectPath);
    w.Text(job.serverHost);
    w.I32(0);  // reservedWord: no meaning, always written as 0
    w.Text(job.fileName);
    w.I32(job.proxy.UsingLogon);
    w.I32(job.proxy.Type);
    w.Text(job.proxy.Domain);
    w.Text(job.proxy.Password);
    w.Text(job.proxy.User);
    w.U32(job.proxy.IPAddress);
    w.I32(job.proxy.Port);
}

bool ReadJobRecord(arc::ArchiveReader& r, JobRecord& job) {
    std::int32_t reserved = 0;
    r.I32(job.hopLevel);
    r.Text(job.targetCatalog);
    r.Text(job.status);
    r.Text(job.password);
    r.Text(job.url);
    r.Text(job.userName);
    r.Text(job.downloadFolder);
    r.Text(job.pageFileName);
    r.Text(job.linkText);
    r.Text(job.rootCatalog);
    r.Text(job.rootPageName);
    r.U32(job.receivedBytes);
    r.U32(job.totalBytes);
    r.F64(job.bytesPerSecond);
    r.U32(job.serviceType);
    r.U16(job.port);
    r.Text(job.startedUrl);
    r.Text(job.objectPath);
    r.Text(job.serverHost);
    r.I32(reserved);
    r.Text(job.fileName);
    r.I32(job.proxy.UsingLogon);
    r.I32(job.proxy.Type);
    r.Text(job.proxy.Domain);
    r.Text(job.proxy.Password);
    r.Text(job.proxy.User);
    r.U32(job.proxy.IPAddress);
    return r.I32(job.proxy.Port);
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
