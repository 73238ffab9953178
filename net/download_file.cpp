#include "net/download_file.h"

#include "jobs/download_job.h"
#include "net/download_thread.h"

#include "common/paths.h"
#include "net/file_naming.h"

namespace {

constexpr std::uint32_t kProgressEvery = 50000;
constexpr int kMaxNameTries = 10000;

}  // namespace

void ClampResumeToFile(DownloadJob& job) {
    if (job.fileName.empty() || job.receivedBytes == 0) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::string path = paths::Join(job.downloadFolder, job.fileName);
    // A missing file is left to the open, which reports it.
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return;
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    auto guard = job.Lock();
    if (size < job.receivedBytes) job.receivedBytes = static_cast<std::uint32_t>(size);
}

std::string ReserveDownloadName(const std::string& folder, std::string name) {
    if (net::IsLoaderSensitiveName(name)) name += "_";
    const std::string stem = paths::StemOf(name);
    const std::string ext = name.substr(stem.size());
    std::string candidate = name;
    for (int n = 1; n <= kMaxNameTries; ++n) {
        // Created empty at once: another job choosing the same name now sees
        // it taken, where a look for the file would let both write it.
        win::File file = win::File::Open(paths::Join(folder, candidate), GENERIC_WRITE, 0, CREATE_NEW);
        if (file.valid()) return candidate;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
        candidate = stem + "[" + std::to_string(n) + "]" + ext;
    }
    return name;
}

bool DownloadFile::Open(const std::string& path, std::uint32_t offset) {
    Close();
    file_ = win::File::Open(path, GENERIC_WRITE, FILE_SHARE_READ, offset ? OPEN_EXISTING : CREATE_ALWAYS);
    if (!file_.valid()) return false;
    if (!SetLength(offset)) {
        const DWORD error = GetLastError();
        Close();
        SetLastError(error);
        return false;
    }
    return true;
}

bool DownloadFile::SetLength(std::uint32_t length) { return file_.Resize(length); }

bool DownloadFile::Write(const void* data, std::uint32_t size) { return file_.Write(data, size); }

void DownloadFile::Close() { file_.Close(); }

BlockWriter::BlockWriter(DownloadJob& job, DownloadFile& file, bool wholeRate)
    : job_(job), file_(file), wholeRate_(wholeRate), startSecond_(GetTickCount64() / 1000),
      startOffset_(job.receivedBytes) {}

bool BlockWriter::Write(const char* data, std::uint32_t size, std::uint32_t& written) {
    const std::uint32_t room = 0xFFFFFFFFu - job_.receivedBytes;
    written = size > room ? room : size;
    if (!file_.Write(data, written)) return false;
    {
        auto guard = job_.Lock();
        job_.receivedBytes += written;
        const unsigned long long seconds = GetTickCount64() / 1000 - startSecond_ + 1;
        const std::uint32_t moved = job_.receivedBytes - startOffset_;
        job_.bytesPerSecond = wholeRate_ ? static_cast<double>(moved / seconds)
                                         : static_cast<double>(moved) / static_cast<double>(seconds);
    }
    sinceProgress_ += written;
    if (sinceProgress_ > kProgressEvery) {
        PostJobProgress(job_);
        sinceProgress_ = 0;
    }
    return true;
}
