// The "Download Jobs" page: one report row per download job, every cell
// drawn on request from a copy of the job's fields taken under its lock.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "jobs/download_job.h"
#include "jobs/job_cells.h"
#include "jobs/job_manager.h"
#include "shell/page_dialog.h"
#include "shell/report_list_ctrl.h"

class CJobsView : public PageDialog, public JobRows {
public:
    CJobsView();
    DownloadJobList& jobs() { return jobs_; }
    CReportListCtrl& list() { return list_; }
    std::string CellText(int row, int column) const;

    // Asked to bring the page's tab to the front.
    std::function<void()> onShowJobsTab;

    // JobRows
    void SetRowCount(int count) override;
    void RedrawRow(int row) override;
    std::vector<int> SelectedRows() const override;
    void ShowJobsTab() override;

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    JobCellValues ValuesOf(int row) const;
    void ShowContextMenu(const NMITEMACTIVATE& click);

    DownloadJobList jobs_;
    CReportListCtrl list_;
};
