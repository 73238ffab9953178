// A download job as the program holds it: the stored record plus what only
// lives while the program runs (window, stop event, worker thread, lock).
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/win/handle.h"
#include "jobs/job_record.h"
#include "net/net_socket.h"

// What the jobs view reads of a running job, copied under the job's lock.
struct JobProgress {
    std::string status;
    std::string fileName;
    std::uint32_t receivedBytes = 0;
    std::uint32_t totalBytes = 0;
    double bytesPerSecond = 0;
};

class DownloadJob : public JobRecord {
public:
    DownloadJob();
    explicit DownloadJob(const JobRecord& record);
    ~DownloadJob();
    DownloadJob(const DownloadJob&) = delete;
    DownloadJob& operator=(const DownloadJob&) = delete;

    HWND notifyWindow = nullptr;  // the main frame, which gets jobEnded and jobProgress
    win::Event stopEvent;         // auto-reset, set to ask the worker to stop
    win::Thread worker;           // the worker thread while the job runs
    StopSignal stop;              // the worker's view of stopEvent
    // The system's code when the worker could not open the download file;
    // the window thread tells the user when the job has ended.
    DWORD fileError = 0;
    // True while the worker holds a transfer slot, false while it still
    // waits for one (such a worker may be stopped when the program closes).
    std::atomic<bool> holdsSlot{false};

    // Guards status, fileName, receivedBytes, totalBytes, bytesPerSecond and
    // the URL fields a redirect rewrites; held only for a copy.
    std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(lock_); }
    JobProgress Progress() const;

    // The window thread calls this first thing when it handles jobProgress,
    // before it reads the job: until then the worker posts no other
    // jobProgress for this job, and a change made after the call gets a
    // message of its own.
    void ProgressHandled() { progressPending_.store(false); }
    // Worker side: true when no jobProgress is pending, which the caller is
    // then to post; marks one pending.
    bool ClaimProgressPost() { return !progressPending_.exchange(true); }

private:
    mutable std::mutex lock_;
    std::atomic<bool> progressPending_{false};
};

// The ordered list of jobs; every job's number is its index.
class DownloadJobList {
public:
    DownloadJobList() = default;
    DownloadJobList(const DownloadJobList&) = delete;
    DownloadJobList& operator=(const DownloadJobList&) = delete;

    std::size_t size() const { return jobs_.size(); }
    DownloadJob& at(std::size_t index) { return *jobs_[index]; }
    const DownloadJob& at(std::size_t index) const { return *jobs_[index]; }
    void Clear() { jobs_.clear(); }
    // The job's index, or -1 when it is not (or no longer) in the list.
    int IndexOf(const DownloadJob* job) const;
    // Destroys the idle job at index; the others keep their numbers until
    // Renumber.
    void RemoveAt(std::size_t index);
    // Every job's number becomes its index.
    void Renumber();

    // Replaces the list with the jobs of the file. A missing or empty file
    // gives an empty list; an unreadable or damaged one is reported in an
    // error box, keeping the jobs read before the damage, and a damaged file
    // or one of a newer format is kept aside as path + ".bad" before anything
    // is saved over it. False on error.
    bool LoadJobList(const std::string& path);
    // Writes every job. A file that cannot be created is skipped silently;
    // a failed write is reported. False when nothing or not all was written.
    bool SaveJobList(const std::string& path);
    // Appends the job (when given), saves, and returns its index.
    int AppendAndSave(std::unique_ptr<DownloadJob> job, const std::string& path);
    bool HasUrl(const std::string& url) const;

private:
    std::vector<std::unique_ptr<DownloadJob>> jobs_;
};
