#include "net/download_thread.h"

#include "net/download_settings.h"
#include "net/ftp_reply.h"
#include "net/http_worker.h"
#include "net/job_url.h"

HANDLE DownloadSlots() {
    static HANDLE slots = CreateSemaphoreA(nullptr, kDownloadSlotCount, kDownloadSlotCount, nullptr);
    return slots;
}

bool ParseJobUrl(DownloadJob& job) {
    auto guard = job.Lock();
    if (job.startedUrl.empty()) return false;
    job.startedUrl = net::NormaliseJobUrl(job.startedUrl);
    net::UrlParts parts;
    if (!net::SplitJobUrl(job.startedUrl, parts)) parts = net::UrlParts{};  // no scheme: the run fails
    job.serviceType = parts.serviceType;
    job.serverHost = parts.host;
    job.objectPath = parts.objectPath;
    job.port = parts.port;
    return true;
}

bool StartDownload(DownloadJob& job, HWND notifyWindow) {
    if (job.worker) return false;
    job.notifyWindow = notifyWindow;
    LoadUserAgent(job);
    LoadProxySettings(job.proxy);
    return LaunchDownload(job);
}

bool LaunchDownload(DownloadJob& job) {
    if (job.worker) return false;
    job.startedUrl = job.url;
    ResetEvent(job.stopEvent);
    job.stop.Forget();
    ParseJobUrl(job);
    if (job.fileName.empty()) job.receivedBytes = 0;
    job.worker = CreateThread(nullptr, 0, HttpDownloadWorker, &job, CREATE_SUSPENDED, nullptr);
    if (!job.worker) return false;
    ResumeThread(job.worker);
    return true;
}

bool StopDownload(DownloadJob& job) {
    if (!job.worker) return false;
    SetEvent(job.stopEvent);
    return true;
}

void JoinStoppedWorker(DownloadJob& job) {
    if (!job.worker) return;
    WaitForSingleObject(job.worker, INFINITE);
    CloseHandle(job.worker);
    job.worker = nullptr;
}

bool WaitDownloadEnd(DownloadJob& job) {
    JoinStoppedWorker(job);
    auto guard = job.Lock();
    if (!job.fileName.empty()) return true;
    job.status = "Failed.";
    return false;
}

bool IsDownloadIdle(const DownloadJob& job) { return job.worker == nullptr; }

bool WorkerHasEnded(const DownloadJob& job) {
    return !job.worker || WaitForSingleObject(job.worker, 0) == WAIT_OBJECT_0;
}

void PostJobProgress(DownloadJob& job) {
    if (job.notifyWindow) PostMessageA(job.notifyWindow, jobProgress, 0, reinterpret_cast<LPARAM>(&job));
}

void PostJobStatus(DownloadJob& job, const std::string& text) {
    {
        auto guard = job.Lock();
        job.status = net::WithoutLineBreaks(text);
    }
    PostJobProgress(job);
}

void PostJobEnd(DownloadJob& job, const std::string& status) {
    {
        auto guard = job.Lock();
        job.status = net::WithoutLineBreaks(status);
    }
    if (job.notifyWindow) PostMessageA(job.notifyWindow, jobEnded, 0, reinterpret_cast<LPARAM>(&job));
}
