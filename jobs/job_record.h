// The stored part of a download job and the job file that keeps the list
// across runs: version, count, then 28 fields per job in a fixed order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/archive.h"

// Copy of the "Proxy" settings taken when a job starts.
struct ProxySnapshot {
    std::int32_t UsingLogon = 0;
    std::uint32_t IPAddress = 0;
    std::int32_t Port = 0;
    std::int32_t Type = 0;
    std::string User;
    std::string Password;
    std::string Domain;
};

struct JobRecord {
    std::int32_t number = -1;
    std::uint32_t formatVersion = 0;
    std::int32_t hopLevel = -1;
    std::string status;
    std::string url;
    std::string userAgent;
    std::string password;
    std::string userName;
    std::string startedUrl;
    std::string serverHost;
    std::string objectPath;
    std::string fileName;
    std::uint32_t serviceType = 0;
    std::uint16_t port = 0;
    std::int32_t reservedWord = 0;
    ProxySnapshot proxy;
    std::uint32_t receivedBytes = 0;
    std::uint32_t totalBytes = 0;
    double bytesPerSecond = 0;
    std::string downloadFolder;
    std::string targetCatalog;
    std::string pageFileName;
    std::string rootCatalog;
    std::string rootPageName;
    std::string linkText;
};

constexpr std::uint32_t kJobFileVersion = 0x00010000;

void WriteJobRecord(arc::ArchiveWriter& w, const JobRecord& job);
bool ReadJobRecord(arc::ArchiveReader& r, JobRecord& job);

arc::Bytes EncodeJobFile(const std::vector<const JobRecord*>& jobs);

struct DecodedJobFile {
    std::vector<JobRecord> jobs;  // numbered from 0, formatVersion as read
    bool damaged = false;         // jobs holds those read before the damage
    bool newerFormat = false;     // a version above kJobFileVersion: nothing read
};
// Empty content is an empty list, not damage.
DecodedJobFile DecodeJobFile(const arc::Bytes& content);
