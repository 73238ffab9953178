#include "shell/jobs_view.h"

#include "res/resource.h"

namespace {
constexpr COLORREF kText = RGB(255, 255, 0);
constexpr COLORREF kBack = RGB(0, 128, 128);
}  // namespace

CJobsView::CJobsView() : PageDialog(IDD_JOBS_VIEW, IDC_JOBS_LIST) {}

bool CJobsView::OnInitDialog() {
    list_.SubclassDlgItem(hwnd_, IDC_JOBS_LIST);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    for (int c = 0; c < kJobColumnCount; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = LVCFMT_LEFT;
        col.cx = JobColumnWidth(c);
        col.pszText = const_cast<char*>(JobColumnHeading(c));
        ListView_InsertColumn(list_, c, &col);
    }
    ListView_SetTextColor(list_, kText);
    ListView_SetTextBkColor(list_, kBack);
    ListView_SetBkColor(list_, kBack);
    list_.rowTexts = [this](int row) {
        const JobCellValues values = ValuesOf(row);
        std::vector<std::string> texts;
        for (int c = 0; c < kJobColumnCount; ++c) texts.push_back(JobCellText(values, c));
        return texts;
    };
    SetRowCount(static_cast<int>(jobs_.size()));
    return false;
}

JobCellValues CJobsView::ValuesOf(int row) const {
    JobCellValues v;
    if (row < 0 || static_cast<std::size_t>(row) >= jobs_.size()) return v;
    const DownloadJob& job = jobs_.at(static_cast<std::size_t>(row));
    auto guard = job.Lock();
    v.number = job.number;
    v.fileName = job.fileName;
    v.receivedBytes = job.receivedBytes;
    v.totalBytes = job.totalBytes;
    v.bytesPerSecond = job.bytesPerSecond;
    v.status = job.status;
    return v;
}

std::string CJobsView::CellText(int row, int column) const { return JobCellText(ValuesOf(row), column); }

void CJobsView::SetRowCount(int count) {
    if (!list_.hwnd()) return;
    ListView_SetItemCountEx(list_, count, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void CJobsView::RedrawRow(int row) {
    if (list_.hwnd() && row >= 0) ListView_RedrawItems(list_, row, row);
}

std::vector<int> CJobsView::SelectedRows() const {
    std::vector<int> rows;
    if (!list_.hwnd()) return rows;
    const int count = ListView_GetItemCount(list_);
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0 && i < count;
         i = ListView_GetNextItem(list_, i, LVNI_SELECTED))
        if (static_cast<std::size_t>(i) < jobs_.size()) rows.push_back(i);
    return rows;
}

void CJobsView::ShowJobsTab() {
    if (onShowJobsTab) onShowJobsTab();
}

void CJobsView::ShowContextMenu(const NMITEMACTIVATE& click) {
    // Only a click on a row opens the menu.
    LVHITTESTINFO hit{};
    hit.pt = click.ptAction;
    if (ListView_HitTest(list_, &hit) < 0) return;
    POINT screen = click.ptAction;
    ClientToScreen(list_, &screen);
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDM_JOBS));
    if (!menu) return;
    // Owned by the main window: its commands reach the job manager there,
    // with its enable rules.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                   GetAncestor(hwnd_, GA_ROOT), nullptr);
    DestroyMenu(menu);
}

INT_PTR CJobsView::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header->hwndFrom == list_.hwnd()) {
            switch (header->code) {
                case LVN_GETDISPINFOA: {
                    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lp)->item;
                    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
                        lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
                    return TRUE;
                }
                case NM_RCLICK:
                    ShowContextMenu(*reinterpret_cast<NMITEMACTIVATE*>(lp));
                    return TRUE;
            }
        }
    }
    return PageDialog::DialogProc(msg, wp, lp);
}
