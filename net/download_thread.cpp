#include "net/download_thread.h"

#include "net/download_settings.h"
#include "net/ftp_reply.h"
#include "net/http_worker.h"
#include "net/job_url.h"
#include "net/tls_records.h"

namespace {

constexpr DWORD kEndRetryMs = 20;

}  // namespace

PostMessageFn& WorkerPostMessage() {
    static PostMessageFn post = PostMessageA;
    return post;
}

HANDLE DownloadSlots() {
    static win::Semaphore slots = [] {
        win::Semaphore s;
        s.Create(kDownloadSlotCount, kDownloadSlotCount);
        return s;
    }();
    return slots.get();
}

DownloadSlotLease::~DownloadSlotLease() { ReleaseSemaphore(DownloadSlots(), 1, nullptr); }

bool ParseJobUrl(DownloadJob& job) {
    auto guard = job.Lock();
    if (job.startedUrl.empty()) return false;
    if (net::HasControlBytes(job.startedUrl)) {
        job.serviceType = 0;
        job.serverHost.clear();
        job.objectPath.clear();
        job.port = 0;
        return false;
    }
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
    if (job.worker.running()) return false;
    job.notifyWindow = notifyWindow;
    LoadUserAgent(job);
    LoadProxySettings(job.proxy);
    return LaunchDownload(job);
}

bool LaunchDownload(DownloadJob& job) {
    if (job.worker.running()) return false;
    if (net::HasControlBytes(job.url)) {
        auto guard = job.Lock();
        job.status = kInvalidUrl;
        return false;
    }
    job.startedUrl = job.url;
    job.stopEvent.Reset();
    job.stop.Forget();
    job.fileError = 0;
    job.holdsSlot = false;
    job.ProgressHandled();  // a message left from an earlier run must not hold this run's back
    ParseJobUrl(job);
    if (job.fileName.empty()) job.receivedBytes = 0;
    return job.worker.Start(HttpDownloadWorker, &job);
}

bool StopDownload(DownloadJob& job) {
    if (!job.worker.running()) return false;
    job.stopEvent.Set();
    return true;
}

void JoinStoppedWorker(DownloadJob& job) { job.worker.Join(); }

bool WaitDownloadEnd(DownloadJob& job) {
    JoinStoppedWorker(job);
    auto guard = job.Lock();
    if (!job.fileName.empty()) return true;
    // Why a secure server was refused is worth more than a bare failure.
    if (!net::IsTlsFailureText(job.status)) job.status = "Failed.";
    return false;
}

bool IsDownloadIdle(const DownloadJob& job) { return !job.worker.running(); }

bool WorkerHasEnded(const DownloadJob& job) { return job.worker.Ended(); }

void PostJobProgress(DownloadJob& job) {
    if (!job.notifyWindow || !job.ClaimProgressPost()) return;
    if (!WorkerPostMessage()(job.notifyWindow, jobProgress, 0, reinterpret_cast<LPARAM>(&job))) job.ProgressHandled();
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
    if (!job.notifyWindow) return;
    // The manager joins the thread and files the download only on this
    // message: a full queue is waited out, only a window that is gone ends it.
    while (!WorkerPostMessage()(job.notifyWindow, jobEnded, 0, reinterpret_cast<LPARAM>(&job))) {
        if (!IsWindow(job.notifyWindow)) return;
        Sleep(kEndRetryMs);
    }
}
