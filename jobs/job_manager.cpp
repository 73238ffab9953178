#include "jobs/job_manager.h"

#include "common/message_box.h"
#include "common/paths.h"
#include "common/resources.h"
#include "common/ui_port.h"
#include "common/win/file_system.h"
#include "net/download_thread.h"
#include "net/job_url.h"
#include "res/resource.h"
#include "vault/document_list.h"

namespace {

constexpr const char* kFinished = "Finished.";
// The Add dialog's example: an FTP file on this machine, with a placeholder
// login the user overwrites.
constexpr const char* kSampleUrl = "ftp://127.0.0.1/pub/sample.zip";
constexpr const char* kSampleLogin = "ftp";

JobDialogFields FieldsOf(const DownloadJob& job) {
    JobDialogFields f;
    f.url = job.url;
    f.name = job.fileName;
    f.autoName = job.fileName.empty();
    f.userName = job.userName;
    f.password = job.password;
    return f;
}

void TakeFields(DownloadJob& job, const JobDialogFields& f) {
    auto guard = job.Lock();
    job.url = f.url;
    job.userName = f.userName;
    job.password = f.password;
    job.fileName = f.name;
}

}  // namespace

JobManager::JobManager(DownloadJobList& jobs, JobRows& rows, UiPort& ui, vault::DocumentList& documents)
    : jobs_(jobs), rows_(rows), ui_(ui), documents_(documents), downloadFolder_(win::ModuleDirectory()) {}

void JobManager::Load() {
    jobs_.LoadJobList(jobFilePath_);
    jobs_.Renumber();
    RebuildRows();
}

bool JobManager::IsDownloadCommand(UINT id) { return id >= ID_DOWNLOAD_ADD && id <= ID_DOWNLOAD_EDIT; }

bool JobManager::OnCommand(UINT id) {
    switch (id) {
        case ID_DOWNLOAD_ADD: Add(); return true;
        case ID_DOWNLOAD_DELETE: Delete(); return true;
        case ID_DOWNLOAD_DELETE_ALL: DeleteAll(); return true;
        case ID_DOWNLOAD_START: Start(); return true;
        case ID_DOWNLOAD_START_ALL: StartAll(); return true;
        case ID_DOWNLOAD_STOP: Stop(); return true;
        case ID_DOWNLOAD_STOP_ALL: StopAll(); return true;
        case ID_DOWNLOAD_AGAIN: DownloadAgain(); return true;
        case ID_DOWNLOAD_EDIT: EditProperty(); return true;
    }
    return false;
}

bool JobManager::IsEnabled(UINT id) {
    const auto selected = Selected();
    const auto any = [&](auto test) {
        for (int row : selected)
            if (test(jobs_.at(static_cast<std::size_t>(row)))) return true;
        return false;
    };
    switch (id) {
        case ID_DOWNLOAD_DELETE:
            return !selected.empty() && !any([&](DownloadJob& j) { return IsRunning(j); });
        case ID_DOWNLOAD_START: return any([](DownloadJob& j) { return !IsFinished(j); });
        case ID_DOWNLOAD_STOP: return any([&](DownloadJob& j) { return IsRunning(j); });
        case ID_DOWNLOAD_AGAIN: return any([](DownloadJob& j) { return IsFinished(j); });
        default: return true;
    }
}

std::vector<int> JobManager::Selected() const {
    std::vector<int> rows;
    for (int row : rows_.SelectedRows())
        if (row >= 0 && static_cast<std::size_t>(row) < jobs_.size()) rows.push_back(row);
    return rows;
}

bool JobManager::IsRunning(DownloadJob& job) {
    // A worker stopped while it waited for a slot ends without jobEnded:
    // joined here, its job is idle again. One that got a slot has its
    // jobEnded on the way, and that joins it.
    if (job.worker.running() && !job.holdsSlot && job.worker.Ended()) JoinStoppedWorker(job);
    return job.worker.running();
}

bool JobManager::IsFinished(const DownloadJob& job) {
    auto guard = job.Lock();
    return job.status == kFinished;
}

bool JobManager::Ask(const std::string& text) { return ui_.Ask(text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

void JobManager::RebuildRows() { rows_.SetRowCount(static_cast<int>(jobs_.size())); }

void JobManager::Redraw(const DownloadJob& job) {
    rows_.ShowJobsTab();
    rows_.RedrawRow(job.number);
}

void JobManager::Append(std::unique_ptr<DownloadJob> job) {
    DownloadJob* added = job.get();
    added->number = jobs_.AppendAndSave(std::move(job), jobFilePath_);
    RebuildRows();
    rows_.ShowJobsTab();
}

bool JobManager::StartJob(DownloadJob& job) {
    if (IsRunning(job)) return false;
    if (job.url.empty() || !net::IsValidJobUrl(job.url)) {
        ui_.Ask("The URL is invalid.", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!StartDownload(job, notifyWindow_)) {
        ui_.Ask("Could not create the thread.", MB_OK | MB_ICONSTOP);
        return false;
    }
    rows_.RedrawRow(job.number);
    return true;
}

void JobManager::Add() {
    JobDialogFields fields;
    fields.url = kSampleUrl;
    fields.userName = kSampleLogin;
    fields.password = kSampleLogin;
    if (!ui_.EditJob(fields)) return;
    if (jobs_.HasUrl(fields.url)) {
        ui_.Ask("Duplicated url", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    auto job = std::make_unique<DownloadJob>();
    job->targetCatalog = documents_.currentCatalog;
    job->downloadFolder = downloadFolder_;
    TakeFields(*job, fields);
    DownloadJob& added = *job;
    Append(std::move(job));
    if (fields.startAtOnce) StartJob(added);
}

DownloadJob* JobManager::AddJob(const std::string& url, bool start, bool silent, const std::string& pagePath,
                                const std::string& linkText, int hopLevel) {
    if (jobs_.HasUrl(url)) {
        if (!silent) ui_.Ask("Duplicated url", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    auto job = std::make_unique<DownloadJob>();
    job->url = url;
    job->downloadFolder = downloadFolder_;
    job->targetCatalog = documents_.currentCatalog;
    job->hopLevel = hopLevel;
    job->linkText = linkText;
    const auto slash = pagePath.rfind('\\');
    job->pageFileName = slash == std::string::npos ? std::string() : pagePath.substr(slash + 1);
    if (hopLevel >= 0) {
        job->rootPageName = job->pageFileName;
        job->rootCatalog = job->targetCatalog;
    }
    if (!silent) {
        JobDialogFields fields = FieldsOf(*job);
        if (!ui_.EditJob(fields)) return nullptr;
        TakeFields(*job, fields);
        start = fields.startAtOnce;
    }
    DownloadJob* added = job.get();
    Append(std::move(job));
    if (start) StartJob(*added);
    return added;
}

void JobManager::Delete() {
    auto selected = Selected();
    if (selected.empty() || !Ask(LoadResString(IDS_CONFIRM_DELETE_FILES))) return;
    // From the last row up, so the rows still to go keep their positions.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        if (!IsRunning(jobs_.at(static_cast<std::size_t>(*it)))) jobs_.RemoveAt(static_cast<std::size_t>(*it));
    jobs_.Renumber();
    RebuildRows();
    jobs_.SaveJobList(jobFilePath_);
}

void JobManager::DeleteAll() {
    if (!Ask(LoadResString(IDS_CONFIRM_DELETE_FILES))) return;
    for (std::size_t i = jobs_.size(); i-- > 0;)
        if (!IsRunning(jobs_.at(i))) jobs_.RemoveAt(i);
    jobs_.Renumber();
    RebuildRows();
    jobs_.SaveJobList(jobFilePath_);
}

// A finished job runs again only through Download again: started as a
// resume, it would file a second copy of the same download.
void JobManager::Start() {
    for (int row : Selected()) {
        DownloadJob& job = jobs_.at(static_cast<std::size_t>(row));
        if (!IsRunning(job) && !IsFinished(job)) StartJob(job);
    }
}

void JobManager::StartAll() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        DownloadJob& job = jobs_.at(i);
        if (!IsRunning(job) && !IsFinished(job)) StartJob(job);
    }
}

void JobManager::Stop() {
    for (int row : Selected()) {
        DownloadJob& job = jobs_.at(static_cast<std::size_t>(row));
        if (IsRunning(job)) StopDownload(job);
    }
}

void JobManager::StopAll() {
    for (std::size_t i = 0; i < jobs_.size(); ++i)
        if (IsRunning(jobs_.at(i))) StopDownload(jobs_.at(i));
}

void JobManager::DownloadAgain() {
    for (int row : Selected()) {
        DownloadJob& job = jobs_.at(static_cast<std::size_t>(row));
        if (IsRunning(job) || !IsFinished(job)) continue;
        {
            auto guard = job.Lock();
            job.receivedBytes = 0;
        }
        StartJob(job);
    }
}

void JobManager::EditProperty() {
    const auto selected = Selected();
    if (selected.empty()) return;
    DownloadJob& job = jobs_.at(static_cast<std::size_t>(selected.front()));
    if (IsRunning(job)) return;
    JobDialogFields fields = FieldsOf(job);
    if (!ui_.EditJob(fields)) return;
    job.targetCatalog = documents_.currentCatalog;
    job.downloadFolder = downloadFolder_;
    TakeFields(job, fields);
    // Kept at once: an edit lost to a crash would be lost for good.
    jobs_.SaveJobList(jobFilePath_);
    Redraw(job);
    if (!fields.startAtOnce) return;
    if (IsFinished(job))
        ui_.Ask("This download job is finished!", MB_OK);
    else
        StartJob(job);
}

void JobManager::OnJobProgress(DownloadJob* job) {
    if (jobs_.IndexOf(job) < 0) return;
    // Taken first: the worker may post the next one from here on.
    job->ProgressHandled();
    Redraw(*job);
}

void JobManager::OnJobEnded(DownloadJob* job) {
    if (jobs_.IndexOf(job) < 0) return;
    const bool named = WaitDownloadEnd(*job);
    if (job->fileError) {
        // The worker could not open its file; it shows no window itself.
        const DWORD error = job->fileError;
        job->fileError = 0;
        ui_.Ask(SystemErrorText(error), MB_OK | MB_ICONERROR);
    }
    if (named && IsFinished(*job)) FileDownload(*job);
    Redraw(*job);
}

void JobManager::FileDownload(DownloadJob& job) {
    const std::string path = paths::Join(job.downloadFolder, job.fileName);
    if (!win::IsFolder(job.targetCatalog)) {
        ui_.AddMessage("The catalog " + job.targetCatalog + " is gone; the download stays in " + path + "\r\n");
        return;
    }
    if (job.pageFileName.empty()) {
        // A copy goes into the vault; the download stays where it is.
        documents_.AddFilesToCatalog({path}, false, job.targetCatalog, false);
        return;
    }
    // A resource of a stored page: moved beside the page, and the page's
    // links name the copy by the name it really got.
    std::string stored = path;
    if (!documents_.AddCompanionFile(job.pageFileName, stored, job.targetCatalog)) return;
    vault::ReplaceInFile(paths::Join(job.targetCatalog, job.pageFileName), job.linkText, stored,
                         documents_.vault().textFileTypes);
}

bool JobManager::TransfersRunning() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        DownloadJob& job = jobs_.at(i);
        if (IsRunning(job) && job.holdsSlot) return true;
    }
    return false;
}

void JobManager::Close() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        DownloadJob& job = jobs_.at(i);
        if (!job.worker.running()) continue;
        StopDownload(job);
        JoinStoppedWorker(job);
    }
    jobs_.SaveJobList(jobFilePath_);
    jobs_.Clear();
    RebuildRows();
}
