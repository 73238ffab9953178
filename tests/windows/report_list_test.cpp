// The report list paints its rows itself; what it painted is read back
// from the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "shell/report_list_ctrl.h"
#include "tests/support/test_env.h"

namespace {

// A top-level window hosting one owner-drawn report list, 600 pixels wide
// inside, with two columns of 200.
class Host : public Window {
public:
    explicit Host(DWORD extraStyle) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        RegisterWindowClass("ReportListTestHost", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        Create("ReportListTestHost", "report", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 700, 300, nullptr,
               nullptr);
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "",
                                    WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | extraStyle, 0, 0, 600,
                                    200, hwnd_, reinterpret_cast<HMENU>(7), nullptr, nullptr);
        control.Attach(list);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNA col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            col.fmt = c == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
            col.cx = 200;
            col.pszText = const_cast<char*>("head");
            ListView_InsertColumn(list, c, &col);
        }
        for (int i = 0; i < 3; ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>("a row of text");
            ListView_InsertItem(list, &item);
            ListView_SetItemText(list, i, 1, const_cast<char*>("right"));
        }
        SetForegroundWindow(hwnd_);
    }
    ~Host() override { control.Destroy(); }
    // The colour at x of the middle of row `item`, from the screen.
    COLORREF PixelOfRow(int item, int x) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpFor(50);
        RECT r{};
        ListView_GetItemRect(control, item, &r, LVIR_BOUNDS);
        HDC dc = GetDC(control);
        const COLORREF c = GetPixel(dc, x, (r.top + r.bottom) / 2);
        ReleaseDC(control, dc);
        return c;
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override { return Default(msg, wp, lp); }

public:
    CReportListCtrl control;
};

}  // namespace

TEST(ReportList, ASelectedRowIsHighlightedToTheRightEdge) {
    Host host(0);
    ASSERT_NE(host.control.hwnd(), nullptr);
    ListView_SetItemState(host.control, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(host.control);
    PumpFor(50);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF;
    const COLORREF window = ListView_GetBkColor(host.control) & 0xFFFFFF;
    // Columns end at 400; the highlight goes on to the client's edge.
    EXPECT_EQ(host.PixelOfRow(1, 590), highlight);
    EXPECT_EQ(host.PixelOfRow(1, 450), highlight);
    EXPECT_EQ(host.PixelOfRow(0, 590), window) << "an unselected row is not highlighted";

    // Losing the focus repaints the selection in the window colour.
    SetFocus(host.hwnd());
    PumpFor(50);
    EXPECT_EQ(host.PixelOfRow(1, 590), window);
}

TEST(ReportList, ShowSelectionAlwaysKeepsTheHighlightWithoutFocus) {
    Host host(LVS_SHOWSELALWAYS);
    ListView_SetItemState(host.control, 2, LVIS_SELECTED, LVIS_SELECTED);
    SetFocus(host.hwnd());
    PumpFor(50);
    EXPECT_EQ(host.PixelOfRow(2, 590), GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF);
    // The owner's colours show where nothing is selected.
    ListView_SetBkColor(host.control, RGB(0, 128, 128));
    EXPECT_EQ(host.PixelOfRow(0, 590), RGB(0, 128, 128));
}
