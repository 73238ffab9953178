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

void CReportListCtrl::DrawItem(const DRAWITEMSTRUCT& di) {
    const int item = static_cast<int>(di.itemID);
    RECT whole{};
    ListView_GetItemRect(hwnd_, item, &whole, LVIR_BOUNDS);
    whole.right = ClientRect().right;
    // The row is drawn off screen and put on the screen in one piece: one
    // transfer instead of one per text, and no flicker.
    HDC target = di.hDC;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP surface = CreateCompatibleBitmap(target, whole.right - whole.left, whole.bottom - whole.top);
    HGDIOBJ oldSurface = SelectObject(dc, surface);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    SetViewportOrgEx(dc, -whole.left, -whole.top, nullptr);
    const int saved = SaveDC(dc);

    LVITEMA lvi{};
    lvi.mask = LVIF_IMAGE | LVIF_STATE;
    lvi.iItem = item;
    lvi.stateMask = 0xFFFF;
    ListView_GetItem(hwnd_, &lvi);
    const bool focused = GetFocus() == hwnd_;
    const bool showAlways = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    const bool highlighted = (lvi.state & LVIS_DROPHILITED) || ((lvi.state & LVIS_SELECTED) && (focused || showAlways));

    RECT bounds{}, label{}, icon{};
    ListView_GetItemRect(hwnd_, item, &bounds, LVIR_BOUNDS);
    ListView_GetItemRect(hwnd_, item, &label, LVIR_LABEL);
    ListView_GetItemRect(hwnd_, item, &icon, LVIR_ICON);
    SIZE blank{};
    GetTextExtentPoint32A(dc, " ", 1, &blank);
    const int gap = 2 * blank.cx;

    // The highlight reaches the right edge of the client area, past the
    // last column.
    RECT highlight = bounds;
    highlight.right = ClientRect().right;
    // Rows outside the highlight take the control's own colours, which the
    // owner may set (the jobs list is yellow on dark cyan).
    const COLORREF back = highlighted ? GetSysColor(COLOR_HIGHLIGHT) : ListView_GetBkColor(hwnd_);
    SetTextColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ListView_GetTextColor(hwnd_));
    SetBkColor(dc, back);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &highlight, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);

    const int columns = ColumnCount(hwnd_);
    const std::vector<std::string> texts = TextsOf(item, columns > 0 ? columns : 1);

    // The first column: state image, small image, text.
    const int width0 = ListView_GetColumnWidth(hwnd_, 0);
    ClipTo(dc, {bounds.left, bounds.top, bounds.left + width0, bounds.bottom});
    const UINT stateIndex = (lvi.state & LVIS_STATEIMAGEMASK) >> 12;
    if (HIMAGELIST states = ListView_GetImageList(hwnd_, LVSIL_STATE); states && stateIndex)
        ImageList_Draw(states, static_cast<int>(stateIndex) - 1, dc, bounds.left, bounds.top, ILD_TRANSPARENT);
    if (HIMAGELIST small = ListView_GetImageList(hwnd_, LVSIL_SMALL)) {
        const UINT overlay = lvi.state & LVIS_OVERLAYMASK;
        ImageList_Draw(small, lvi.iImage, dc, icon.left, icon.top,
                       ILD_TRANSPARENT | overlay | (highlighted ? ILD_BLEND50 : 0));
    }
    RECT text0 = label;
    text0.left += gap / 2;
    text0.right -= gap;
    DrawTextA(dc, texts[0].c_str(), static_cast<int>(texts[0].size()), &text0, kCellText | DT_LEFT | DT_NOCLIP);

    // The other columns, each from the previous one's right edge.
    RECT row = bounds;
    if (highlight.right > row.right) row.right = highlight.right;
    ClipTo(dc, row);
    int x = bounds.left + width0;
    for (int c = 1; c < columns; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_FMT | LVCF_WIDTH;
        if (!ListView_GetColumn(hwnd_, c, &col)) break;
        RECT cell{x, bounds.top, x + col.cx, bounds.bottom};
        x += col.cx;
        const std::string& text = texts[static_cast<std::size_t>(c)];
        if (text.empty()) continue;
        cell.left += gap;
        cell.right -= gap;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell, kCellText | Alignment(col.fmt));
    }
    if ((lvi.state & LVIS_FOCUSED) && focused) {
        SelectClipRgn(dc, nullptr);
        DrawFocusRect(dc, &highlight);
    }
    RestoreDC(dc, saved);
    BitBlt(target, whole.left, whole.top, whole.right - whole.left, whole.bottom - whole.top, dc, whole.left,
           whole.top, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldSurface);
    DeleteObject(surface);
    DeleteDC(dc);
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
        case WM_PAINT:
            InvalidateRightOfColumns();
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
