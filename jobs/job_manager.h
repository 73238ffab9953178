// The download job manager: the commands of the "&Download" menu and the
// jobs list's context menu, jobs made for the web picker and the browser
// helper, the workers' two notifications, filing finished downloads into
// the vault, and the close guard. It runs on the window thread and reaches
// the user through the UiPort and the jobs list through JobRows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "jobs/download_job.h"

class UiPort;
namespace vault {
class DocumentList;
}

// How the manager shows its jobs: one row per job, row i shows job i.
class JobRows {
public:
    virtual ~JobRows() = default;
    // The rows are rebuilt for `count` jobs.
    virtual void SetRowCount(int count) = 0;
    virtual void RedrawRow(int row) = 0;
    // Selected rows in ascending order.
    virtual std::vector<int> SelectedRows() const = 0;
    // Brings the "Download Jobs" tab to the front.
    virtual void ShowJobsTab() = 0;
};

class JobManager {
public:
    // `documents` holds the shown catalog (a new job's target) and files
    // finished downloads so that a shown catalog shows them at once.
    JobManager(DownloadJobList& jobs, JobRows& rows, UiPort& ui, vault::DocumentList& documents);

    // Where workers post their notifications (the main frame), the job
    // file, and the folder downloads are written to.
    void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
    void SetJobFilePath(const std::string& path) { jobFilePath_ = path; }
    void SetDownloadFolder(const std::string& folder) { downloadFolder_ = folder; }
    const std::string& jobFilePath() const { return jobFilePath_; }

    // Reads the job file into the list and the rows (at start-up).
    void Load();

    // A command id of the download menu; false when it is not one.
    bool OnCommand(UINT id);
    // Whether the command is enabled for the rows selected now.
    bool IsEnabled(UINT id);
    static bool IsDownloadCommand(UINT id);

    void Add();
    void Delete();
    void DeleteAll();
    void Start();
    void StartAll();
    void Stop();
    void StopAll();
    void DownloadAgain();
    void EditProperty();

    // Makes, records and (with start) starts a job; null for a duplicate
    // URL ("Duplicated url" unless silent) or a cancelled dialog.
    DownloadJob* AddJob(const std::string& url, bool start, bool silent, const std::string& pagePath,
                        const std::string& linkText, int hopLevel);
    // Starts an idle job's worker; false (after telling the user) when the
    // URL is not one the program fetches or the thread cannot be made.
    bool StartJob(DownloadJob& job);

    // The workers' notifications; a job no longer in the list is ignored.
    void OnJobProgress(DownloadJob* job);
    void OnJobEnded(DownloadJob* job);

    // True while a job moves data. Workers that ended without a word
    // (stopped while waiting for a slot) are joined on the way.
    bool TransfersRunning();
    // On close: workers still waiting for a slot are stopped and joined,
    // the job file is written and the list emptied.
    void Close();

private:
    std::vector<int> Selected() const;
    bool IsRunning(DownloadJob& job);
    static bool IsFinished(const DownloadJob& job);
    void Append(std::unique_ptr<DownloadJob> job);
    void RebuildRows();
    void Redraw(const DownloadJob& job);
    void FileDownload(DownloadJob& job);
    bool Ask(const std::string& text);

    DownloadJobList& jobs_;
    JobRows& rows_;
    UiPort& ui_;
    vault::DocumentList& documents_;
    HWND notifyWindow_ = nullptr;
    std::string jobFilePath_;
    std::string downloadFolder_;
};
