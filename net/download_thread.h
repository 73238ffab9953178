// The contract between a download job and its worker thread: starting,
// stopping and joining the worker, the slots that bound the transfers
// running at once, and the two messages a worker posts.
#pragma once
#include <windows.h>

#include <string>

#include "common/window_messages.h"
#include "jobs/download_job.h"

constexpr LONG kDownloadSlotCount = 50;
// The status of a job whose URL holds control bytes; such a job is not started.
constexpr const char* kInvalidUrl = "The URL is invalid.";
// The process-wide counting semaphore of transfer slots.
HANDLE DownloadSlots();

// One transfer slot, taken for the life of the object (after a wait on
// DownloadSlots has granted it) and given back when it ends.
class DownloadSlotLease {
public:
    DownloadSlotLease() = default;
    ~DownloadSlotLease();
    DownloadSlotLease(const DownloadSlotLease&) = delete;
    DownloadSlotLease& operator=(const DownloadSlotLease&) = delete;
};

// Normalises startedUrl and fills serviceType, serverHost, objectPath and
// port from it; false when startedUrl is empty or holds control bytes (the
// parts are then emptied). A URL the parser does not understand leaves
// serviceType 0, which ends the worker at once.
bool ParseJobUrl(DownloadJob& job);

// The engine's part of starting a job: takes the user agent and proxy
// settings, then LaunchDownload.
bool StartDownload(DownloadJob& job, HWND notifyWindow);
// Starts the worker with the job's own notifyWindow, userAgent and proxy:
// startedUrl from url, stop event reset, URL parsed, receivedBytes 0 when
// there is no fileName, thread created suspended and then resumed. A url
// with control bytes (net::HasControlBytes) is refused: the status becomes
// kInvalidUrl, no thread starts and nothing is sent; false.
bool LaunchDownload(DownloadJob& job);

// False when the job has no worker; else asks it to stop.
bool StopDownload(DownloadJob& job);
// Joins the worker (after jobEnded). True when the job has a file name;
// otherwise its status becomes "Failed." (a TLS refusal's text stays). The caller, on the window
// thread, then tells the user of a job's fileError.
bool WaitDownloadEnd(DownloadJob& job);
bool IsDownloadIdle(const DownloadJob& job);
// A worker stopped while it waited for a slot posts nothing: this tells
// whether its thread is over, and JoinStoppedWorker joins it without
// touching the status.
bool WorkerHasEnded(const DownloadJob& job);
void JoinStoppedWorker(DownloadJob& job);

// How a worker posts its notifications: PostMessageA. Tests put a poster
// here that fails as a full queue would.
using PostMessageFn = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
PostMessageFn& WorkerPostMessage();

// Worker side: store a status (CR LF pairs removed) and post jobProgress.
// jobProgress is posted only while none is pending for the job: the window
// thread calls DownloadJob::ProgressHandled when it takes one, so a fast
// transfer never fills its queue however long the window is busy.
void PostJobStatus(DownloadJob& job, const std::string& text);
void PostJobProgress(DownloadJob& job);
// Worker side: store the final status and post jobEnded. The post is tried
// again while the window's queue is full and given up only when the window
// is gone, so the manager always learns of the end.
void PostJobEnd(DownloadJob& job, const std::string& status);
