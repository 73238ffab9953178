#include "vault/list_ctrl_view.h"

#include <commctrl.h>

#include "res/resource.h"

bool CListCtrlView::Create(HWND parent) {
    if (!Window::Create(WC_LISTVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS,
                        WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, nullptr))
        return false;
    static const int widths[] = {300, 300, 150, 50, 120, 120, 100, 60, 100};
    for (int i = 0; i < 9; ++i) {
        std::string title = LoadResString(IDS_COLUMN_FIRST + i);
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = title.data();
        ListView_InsertColumn(hwnd_, i, &col);
    }
    return true;
}

int CListCtrlView::Refresh() {
    ListView_DeleteAllItems(hwnd_);
    recordCount_ = 0;
    return recordCount_;
}

int CListCtrlView::AddFilesToCatalog(const std::vector<std::string>&, bool, const std::string&, bool) { return -1; }

HWND CListCtrlView::EditControl() const { return ListView_GetEditControl(hwnd_); }

void CListCtrlView::CommitDescription(int, const std::string&) {}
