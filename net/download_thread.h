// The contract between a download job and its worker thread: starting,
// stopping and joining the worker, the slots that bound the transfers
// running at once, and the two messages a worker posts.
#pragma once
#include <windows.h>

#include <string>

#include "common/window_messages.h"
#include "jobs/download_job.h"

constexpr LONG kDownloadSlotCount = 50;
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
// port from it; false only when startedUrl is empty. A URL the parser does
// not understand leaves serviceType 0, which ends the worker at once.
bool ParseJobUrl(DownloadJob& job);

// The engine's part of starting a job: takes the user agent and proxy
// settings, then LaunchDownload.
bool StartDownload(DownloadJob& job, HWND notifyWindow);
// Starts the worker with the job's own notifyWindow, userAgent and proxy:
// startedUrl from url, stop event reset, URL parsed, receivedBytes 0 when
// there is no fileName, thread created suspended and then resumed.
bool LaunchDownload(DownloadJob& job);

// False when the job has no worker; else asks it to stop.
bool StopDownload(DownloadJob& job);
// Joins the worker (after jobEnded). True when the job has a file name;
// otherwise its status becomes "Failed.". The caller, on the window
// thread, then tells the user of a job's fileError.
bool WaitDownloadEnd(DownloadJob& job);
bool IsDownloadIdle(const DownloadJob& job);
// A worker stopped while it waited for a slot posts nothing: this tells
// whether its thread is over, and JoinStoppedWorker joins it without
// touching the status.
bool WorkerHasEnded(const DownloadJob& job);
void JoinStoppedWorker(DownloadJob& job);

// Worker side: store a status (CR LF pairs removed) and post jobProgress.
void PostJobStatus(DownloadJob& job, const std::string& text);
void PostJobProgress(DownloadJob& job);
// Worker side: store the final status and post jobEnded.
void PostJobEnd(DownloadJob& job, const std::string& status);
