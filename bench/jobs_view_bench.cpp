// The jobs list with thousands of jobs: loading the job file and showing
// the list, and redrawing it while 50 jobs report progress. The reference
// is a plain report list of as many rows with their texts inserted, in the
// same process and the same run.
//   jobs_view_bench.exe [jobs] [rounds]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/win/handle.h"
#include "bench/window_bench_support.h"
#include "common/window.h"
#include "jobs/job_cells.h"
#include "shell/jobs_view.h"

using bench::Host;
using bench::Now;
using bench::Pump;

namespace {

std::string MakeJobFile(int n) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string path = std::string(tmp) + "jobs_view_bench_" + std::to_string(n) + ".job";
    std::vector<JobRecord> records(static_cast<std::size_t>(n));
    std::vector<const JobRecord*> pointers;
    for (int i = 0; i < n; ++i) {
        JobRecord& r = records[static_cast<std::size_t>(i)];
        r.url = "http://downloads.example/files/archive-" + std::to_string(i) + ".zip";
        r.fileName = "archive-" + std::to_string(i) + ".zip";
        r.status = i % 3 ? "Finished." : "Canceled.";
        r.receivedBytes = static_cast<std::uint32_t>(i) * 1000;
        r.totalBytes = static_cast<std::uint32_t>(n) * 1000;
        r.bytesPerSecond = 1234.5;
        r.downloadFolder = "C:\\Archivon";
        r.targetCatalog = "C:\\Archivon\\Root";
        pointers.push_back(&r);
    }
    const arc::Bytes bytes = EncodeJobFile(pointers);
    win::File::Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS).Write(bytes.data(), bytes.size());
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    constexpr int kRunning = 50;
    constexpr int kUpdates = 40;
    Host host;
    if (!host.Open("JobsViewBenchHost", 1100, 600)) return 1;
    const std::string jobFile = MakeJobFile(n);
    CJobsView view;
    view.CreateModeless(host);
    view.MoveTo(0, 0, 1080, 560);
    HWND bare = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 1080, 560, host, nullptr, nullptr,
                                nullptr);
    for (int c = 0; c < kJobColumnCount; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = JobColumnWidth(c);
        col.pszText = const_cast<char*>(JobColumnHeading(c));
        ListView_InsertColumn(bare, c, &col);
    }

    double bestShow = 1e9, bestShowRef = 1e9, bestRedraw = 1e9, bestRedrawRef = 1e9;
    for (int round = 0; round < rounds; ++round) {
        ShowWindow(bare, SW_HIDE);
        ShowWindow(view, SW_SHOW);
        double t = Now();
        view.jobs().LoadJobList(jobFile);
        view.jobs().Renumber();
        view.SetRowCount(static_cast<int>(view.jobs().size()));
        UpdateWindow(view.list());
        Pump();
        bestShow = std::min(bestShow, Now() - t);

        // 50 running jobs, each moving and redrawing its own row.
        t = Now();
        for (int u = 0; u < kUpdates; ++u) {
            for (int j = 0; j < kRunning; ++j) {
                DownloadJob& job = view.jobs().at(static_cast<std::size_t>(j));
                {
                    auto guard = job.Lock();
                    job.receivedBytes += 4096;
                    job.status = "Receiving";
                }
                view.RedrawRow(j);
            }
            UpdateWindow(view.list());
            Pump();
        }
        bestRedraw = std::min(bestRedraw, Now() - t);

        ShowWindow(view, SW_HIDE);
        ShowWindow(bare, SW_SHOW);
        t = Now();
        SendMessageA(bare, WM_SETREDRAW, FALSE, 0);
        ListView_DeleteAllItems(bare);
        for (int i = 0; i < n; ++i) {
            JobCellValues v;
            v.number = i;
            v.fileName = "archive-" + std::to_string(i) + ".zip";
            v.status = "Finished.";
            std::string first = JobCellText(v, 0);
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = first.data();
            ListView_InsertItem(bare, &item);
            for (int c = 1; c < kJobColumnCount; ++c) {
                std::string text = JobCellText(v, c);
                ListView_SetItemText(bare, i, c, text.data());
            }
        }
        SendMessageA(bare, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(bare, nullptr, TRUE);
        UpdateWindow(bare);
        Pump();
        bestShowRef = std::min(bestShowRef, Now() - t);

        t = Now();
        for (int u = 0; u < kUpdates; ++u) {
            // A list without cells on request sets every cell that moves.
            for (int j = 0; j < kRunning; ++j) {
                JobCellValues v;
                v.number = j;
                v.receivedBytes = static_cast<std::uint32_t>(u) * 4096;
                v.totalBytes = static_cast<std::uint32_t>(n) * 1000;
                v.bytesPerSecond = 1234.5 + u;
                v.status = "Receiving";
                for (int c = 2; c < kJobColumnCount; ++c) {
                    std::string text = JobCellText(v, c);
                    ListView_SetItemText(bare, j, c, text.data());
                }
            }
            UpdateWindow(bare);
            Pump();
        }
        bestRedrawRef = std::min(bestRedrawRef, Now() - t);
    }
    std::printf("jobs %d, best of %d rounds\n", n, rounds);
    std::printf("jobs list, job file read and first screen shown: %8.1f ms\n", bestShow * 1000);
    std::printf("reference: plain list, %d rows of texts inserted: %8.1f ms\n", n, bestShowRef * 1000);
    std::printf("ratio (load and show): %.2f\n", bestShow / bestShowRef);
    std::printf("jobs list, %d rounds of %d running rows redrawn:  %8.1f ms\n", kUpdates, kRunning, bestRedraw * 1000);
    std::printf("reference: plain list, its four moving cells set:  %8.1f ms\n", bestRedrawRef * 1000);
    std::printf("ratio (redraw under running jobs): %.2f\n", bestRedraw / bestRedrawRef);
    DeleteFileA(jobFile.c_str());
    return 0;
}
