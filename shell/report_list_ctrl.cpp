#include "shell/report_list_ctrl.h"

#include <windowsx.h>

namespace {

int ColumnCount(HWND list) { return Header_GetItemCount(ListView_GetHeader(list)); }

UINT Alignment(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_RIGHT: return DT_RIGHT;
        case LVCFMT_CENTER: return DT_CENTER;
        default: return DT_LEFT;
    }
}

// Clip regions are in device units; the rectangles here are logical.
void ClipTo(HDC dc, RECT r) {
    LPtoDP(dc, reinterpret_cast<POINT*>(&r), 2);
    HRGN region = CreateRectRgnIndirect(&r);
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

}  // namespace

bool CReportListCtrl::SubclassDlgItem(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    return list && Attach(list);
}

bool CReportListCtrl::OnReflectedDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTVIEW) return false;
    DrawItem(item);
    return true;
}

std::vector<std::string> CReportListCtrl::TextsOf(int item, int columns) const {
    if (rowTexts) {
        auto texts = rowTexts(item);
        texts.resize(static_cast<std::size_t>(columns));
        return texts;
    }
    std::vector<std::string> texts;
    for (int c = 0; c < columns; ++c) {
        char buf[1024] = {};
        ListView_GetItemText(hwnd_, item, c, buf, sizeof buf);
        texts.emplace_back(buf);
    }
    return texts;
}

CReportListCtrl::~CReportListCtrl() { ReleaseSurface(); }

CReportListCtrl::Layout CReportListCtrl::ReadLayout(HDC dc) const {
    Layout l;
    l.font = reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    if (!l.font) l.font = GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ old = SelectObject(dc, l.font);
    l.focused = GetFocus() == hwnd_;
    l.showAlways = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    l.client = ClientRect();
    SIZE blank{};
    GetTextExtentPoint32A(dc, " ", 1, &blank);
    SelectObject(dc, old);
    l.gap = 2 * blank.cx;
    const int columns = ColumnCount(hwnd_);
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_FMT | LVCF_WIDTH;
        if (!ListView_GetColumn(hwnd_, c, &col)) break;
        l.widths.push_back(col.cx);
        l.alignments.push_back(Alignment(col.fmt));
    }
    l.smallImages = ListView_GetImageList(hwnd_, LVSIL_SMALL);
    l.stateImages = ListView_GetImageList(hwnd_, LVSIL_STATE);
    l.back = ListView_GetBkColor(hwnd_);
    l.text = ListView_GetTextColor(hwnd_);
    return l;
}

HDC CReportListCtrl::Surface(HDC like, int width, int height) {
    if (surfaceDc_ && surfaceSize_.cx >= width && surfaceSize_.cy >= height) return surfaceDc_;
    ReleaseSurface();
    surfaceDc_ = CreateCompatibleDC(like);
    surface_ = CreateCompatibleBitmap(like, width, height);
    surfaceOld_ = SelectObject(surfaceDc_, surface_);
    surfaceSize_ = {width, height};
    return surfaceDc_;
}

void CReportListCtrl::ReleaseSurface() {
    if (!surfaceDc_) return;
    SelectObject(surfaceDc_, surfaceOld_);
    DeleteObject(surface_);
    DeleteDC(surfaceDc_);
    surfaceDc_ = nullptr;
    surface_ = nullptr;
}

void CReportListCtrl::DrawItem(const DRAWITEMSTRUCT& di) {
    const int item = static_cast<int>(di.itemID);
    HDC target = di.hDC;
    if (!painting_) layout_ = ReadLayout(target);
    const Layout& l = layout_;
    const int columns = static_cast<int>(l.widths.size());

    LVITEMA lvi{};
    lvi.mask = LVIF_IMAGE | LVIF_STATE;
    lvi.iItem = item;
    lvi.stateMask = 0xFFFF;
    ListView_GetItem(hwnd_, &lvi);
    const bool highlighted =
        (lvi.state & LVIS_DROPHILITED) || ((lvi.state & LVIS_SELECTED) && (l.focused || l.showAlways));

    RECT bounds{};
    ListView_GetItemRect(hwnd_, item, &bounds, LVIR_BOUNDS);
    // The highlight reaches the right edge of the client area, past the
    // last column.
    RECT highlight = bounds;
    highlight.right = l.client.right;
    RECT row = bounds;
    if (highlight.right > row.right) row.right = highlight.right;
    const int width0 = columns > 0 ? l.widths[0] : bounds.right - bounds.left;

    // The row is drawn off screen and put on the screen in one piece: one
    // transfer instead of one per text, and no flicker.
    HDC dc = Surface(target, row.right - row.left, row.bottom - row.top);
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, -row.left, -row.top, nullptr);
    SelectObject(dc, l.font);

    // Rows outside the highlight take the control's own colours, which the
    // owner may set (the jobs list is yellow on dark cyan).
    const COLORREF back = highlighted ? GetSysColor(COLOR_HIGHLIGHT) : l.back;
    SetTextColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : l.text);
    SetBkColor(dc, back);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    SetBkMode(dc, TRANSPARENT);

    const std::vector<std::string> texts = TextsOf(item, columns > 0 ? columns : 1);

    // The first column: state image, small image, text.
    ClipTo(dc, {bounds.left, bounds.top, bounds.left + width0, bounds.bottom});
    int textLeft = bounds.left;
    const UINT stateIndex = (lvi.state & LVIS_STATEIMAGEMASK) >> 12;
    if (l.stateImages && stateIndex) {
        ImageList_Draw(l.stateImages, static_cast<int>(stateIndex) - 1, dc, bounds.left, bounds.top, ILD_TRANSPARENT);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(l.stateImages, &cx, &cy);
        textLeft += cx;
    }
    if (l.smallImages) {
        const UINT overlay = lvi.state & LVIS_OVERLAYMASK;
        ImageList_Draw(l.smallImages, lvi.iImage, dc, textLeft, bounds.top,
                       ILD_TRANSPARENT | overlay | (highlighted ? ILD_BLEND50 : 0));
        int cx = 0, cy = 0;
        ImageList_GetIconSize(l.smallImages, &cx, &cy);
        textLeft += cx;
    }
    RECT text0{textLeft + l.gap / 2, bounds.top, bounds.left + width0 - l.gap, bounds.bottom};
    DrawTextA(dc, texts[0].c_str(), static_cast<int>(texts[0].size()), &text0, kCellText | DT_LEFT | DT_NOCLIP);

    // The other columns, each from the previous one's right edge.
    ClipTo(dc, row);
    int x = bounds.left + width0;
    for (int c = 1; c < columns; ++c) {
        RECT cell{x, bounds.top, x + l.widths[static_cast<std::size_t>(c)], bounds.bottom};
        x = cell.right;
        const std::string& text = texts[static_cast<std::size_t>(c)];
        if (text.empty()) continue;
        cell.left += l.gap;
        cell.right -= l.gap;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                  kCellText | l.alignments[static_cast<std::size_t>(c)]);
    }
    if ((lvi.state & LVIS_FOCUSED) && l.focused) {
        SelectClipRgn(dc, nullptr);
        DrawFocusRect(dc, &highlight);
    }
    RestoreDC(dc, saved);
    BitBlt(target, row.left, row.top, row.right - row.left, row.bottom - row.top, dc, 0, 0, SRCCOPY);
}

void CReportListCtrl::InvalidateRightOfColumns() {
    RECT first{};
    if (!ListView_GetItemRect(hwnd_, 0, &first, LVIR_BOUNDS)) return;
    const RECT client = ClientRect();
    if (first.right >= client.right) return;
    RECT update{};
    GetUpdateRect(hwnd_, &update, FALSE);
    RECT strip{first.right - 1, client.top, client.right, client.bottom};
    if (!IsRectEmpty(&update) && update.left < strip.left) strip.left = update.left;
    InvalidateRect(hwnd_, &strip, FALSE);
}

void CReportListCtrl::RedrawFocusAndSelection() {
    const bool showAlways = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    const int focusedItem = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
    if (focusedItem >= 0) ListView_RedrawItems(hwnd_, focusedItem, focusedItem);
    if (!showAlways)
        for (int i = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); i >= 0;
             i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED))
            ListView_RedrawItems(hwnd_, i, i);
    UpdateWindow(hwnd_);
}

bool CReportListCtrl::ToggleStateImage(POINT client) {
    LVHITTESTINFO hit{};
    hit.pt = client;
    if (ListView_HitTest(hwnd_, &hit) < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
    const UINT state = ListView_GetItemState(hwnd_, hit.iItem, LVIS_STATEIMAGEMASK);
    ListView_SetItemState(hwnd_, hit.iItem, state == INDEXTOSTATEIMAGEMASK(1) ? INDEXTOSTATEIMAGEMASK(2)
                                                                              : INDEXTOSTATEIMAGEMASK(1),
                          LVIS_STATEIMAGEMASK);
    return true;
}

LRESULT CReportListCtrl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            InvalidateRightOfColumns();
            // The rows of this paint share one reading of the layout.
            HDC dc = GetDC(hwnd_);
            layout_ = ReadLayout(dc);
            ReleaseDC(hwnd_, dc);
            painting_ = true;
            const LRESULT r = Default(msg, wp, lp);
            painting_ = false;
            return r;
        }
        case WM_SIZE:
            ReleaseSurface();
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT r = Default(msg, wp, lp);
            // The list's own label editor taking the focus changes nothing.
            HWND other = reinterpret_cast<HWND>(wp);
            if (!other || !IsChild(hwnd_, other)) RedrawFocusAndSelection();
            return r;
        }
        case WM_LBUTTONDOWN:
            ToggleStateImage({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            break;
    }
    return Default(msg, wp, lp);
}
