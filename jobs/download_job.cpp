#include "jobs/download_job.h"

#include "common/message_box.h"

namespace {

void ReportFileError(DWORD code) {
    ShowMessageBox(nullptr, SystemErrorText(code), "Archivon", MB_OK | MB_ICONERROR);
}

}  // namespace

DownloadJob::DownloadJob() : stopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)), stop(stopEvent) {}

DownloadJob::DownloadJob(const JobRecord& record) : DownloadJob() { static_cast<JobRecord&>(*this) = record; }

DownloadJob::~DownloadJob() {
    // Only idle jobs are destroyed; should a worker still run, it must not
    // outlive the record it writes to.
    if (worker) {
        SetEvent(stopEvent);
        WaitForSingleObject(worker, INFINITE);
        CloseHandle(worker);
    }
    if (stopEvent) CloseHandle(stopEvent);
}

JobProgress DownloadJob::Progress() const {
    auto guard = Lock();
    return {status, fileName, receivedBytes, totalBytes, bytesPerSecond};
}

bool DownloadJobList::LoadJobList(const std::string& path) {
    jobs_.clear();
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportFileError(GetLastError());
        return false;
    }
    arc::Bytes content;
    LARGE_INTEGER size{};
    DWORD error = 0;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x40000000) {
        error = GetLastError() ? GetLastError() : ERROR_FILE_TOO_LARGE;
    } else {
        content.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!content.empty() && (!ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
                                 read != content.size()))
            error = GetLastError() ? GetLastError() : ERROR_HANDLE_EOF;
    }
    CloseHandle(file);
    if (error) {
        ReportFileError(error);
        return false;
    }
    DecodedJobFile decoded = DecodeJobFile(content);
    for (JobRecord& record : decoded.jobs) jobs_.push_back(std::make_unique<DownloadJob>(record));
    if (decoded.damaged) {
        ShowMessageBox(nullptr, "Unexpected end of file while reading \"" + path + "\".", "Archivon",
                       MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool DownloadJobList::SaveJobList(const std::string& path) {
    // Running workers write their jobs' fields: copy each under its lock.
    std::vector<JobRecord> copies;
    copies.reserve(jobs_.size());
    for (auto& job : jobs_) {
        auto guard = job->Lock();
        job->formatVersion = kJobFileVersion;
        copies.push_back(static_cast<const JobRecord&>(*job));
    }
    std::vector<const JobRecord*> records;
    for (const JobRecord& r : copies) records.push_back(&r);
    const arc::Bytes content = EncodeJobFile(records);
    // Written beside the list and then put in its place, so a full disk never
    // leaves the old list truncated.
    const std::string temporary = path + ".new";
    HANDLE file =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    const DWORD error = ok ? 0 : (GetLastError() ? GetLastError() : ERROR_DISK_FULL);
    CloseHandle(file);
    if (ok && !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD moveError = GetLastError();
        DeleteFileA(temporary.c_str());
        ReportFileError(moveError);
        return false;
    }
    if (!ok) {
        DeleteFileA(temporary.c_str());
        ReportFileError(error);
    }
    return ok;
}

int DownloadJobList::AppendAndSave(std::unique_ptr<DownloadJob> job, const std::string& path) {
    if (job) {
        job->number = static_cast<std::int32_t>(jobs_.size());
        jobs_.push_back(std::move(job));
    }
    SaveJobList(path);
    return static_cast<int>(jobs_.size()) - 1;
}

bool DownloadJobList::HasUrl(const std::string& url) const {
    for (const auto& job : jobs_)
        if (job->url == url) return true;
    return false;
}
