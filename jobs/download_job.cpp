#include "jobs/download_job.h"

#include "common/message_box.h"

namespace {

void ReportFileError(DWORD code) {
    ShowMessageBox(nullptr, SystemErrorText(code), "Archivon", MB_OK | MB_ICONERROR);
}

}  // namespace

DownloadJob::DownloadJob() : stop(nullptr) {
    stopEvent.Create();
    stop = StopSignal(stopEvent.get());
}

DownloadJob::DownloadJob(const JobRecord& record) : DownloadJob() { static_cast<JobRecord&>(*this) = record; }

DownloadJob::~DownloadJob() {
    // Only idle jobs are destroyed; should a worker still run, it must not
    // outlive the record it writes to.
    if (worker.running()) {
        stopEvent.Set();
        worker.Join();
    }
}

JobProgress DownloadJob::Progress() const {
    auto guard = Lock();
    return {status, fileName, receivedBytes, totalBytes, bytesPerSecond};
}

bool DownloadJobList::LoadJobList(const std::string& path) {
    jobs_.clear();
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    win::File file = win::File::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    arc::Bytes content;
    if (!file.valid() || !file.ReadAll(content, 0x40000000)) {
        ReportFileError(GetLastError());
        return false;
    }
    file.Close();
    DecodedJobFile decoded = DecodeJobFile(content);
    if (decoded.newerFormat || decoded.damaged) {
        // Kept aside first: the next save writes the list over the file.
        const std::string aside = path + ".bad";
        const bool kept = CopyFileA(path.c_str(), aside.c_str(), FALSE) != FALSE;
        const std::string where = kept ? " It was kept as \"" + aside + "\"." : "";
        if (decoded.newerFormat) {
            ShowMessageBox(nullptr, "The job file \"" + path + "\" was written by a newer version of Archivon." + where,
                           "Archivon", MB_OK | MB_ICONERROR);
            return false;
        }
        for (JobRecord& record : decoded.jobs) jobs_.push_back(std::make_unique<DownloadJob>(record));
        ShowMessageBox(nullptr, "Unexpected end of file while reading \"" + path + "\"." + where, "Archivon",
                       MB_OK | MB_ICONERROR);
        return false;
    }
    for (JobRecord& record : decoded.jobs) jobs_.push_back(std::make_unique<DownloadJob>(record));
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
    {
        win::File file = win::File::Open(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (!file.valid()) return false;
        if (!file.Write(content.data(), content.size())) {
            const DWORD error = GetLastError();
            file.Close();
            DeleteFileA(temporary.c_str());
            ReportFileError(error);
            return false;
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD moveError = GetLastError();
        DeleteFileA(temporary.c_str());
        ReportFileError(moveError);
        return false;
    }
    return true;
}

int DownloadJobList::AppendAndSave(std::unique_ptr<DownloadJob> job, const std::string& path) {
    if (job) {
        job->number = static_cast<std::int32_t>(jobs_.size());
        jobs_.push_back(std::move(job));
    }
    SaveJobList(path);
    return static_cast<int>(jobs_.size()) - 1;
}

int DownloadJobList::IndexOf(const DownloadJob* job) const {
    for (std::size_t i = 0; i < jobs_.size(); ++i)
        if (jobs_[i].get() == job) return static_cast<int>(i);
    return -1;
}

void DownloadJobList::RemoveAt(std::size_t index) {
    if (index < jobs_.size()) jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(index));
}

void DownloadJobList::Renumber() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) jobs_[i]->number = static_cast<std::int32_t>(i);
}

bool DownloadJobList::HasUrl(const std::string& url) const {
    for (const auto& job : jobs_)
        if (job->url == url) return true;
    return false;
}
