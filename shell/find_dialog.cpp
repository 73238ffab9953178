#include "shell/find_dialog.h"

#include <commctrl.h>

#include "common/wait_cursor.h"
#include "res/resource.h"
#include "shell/busy_pump.h"
#include "shell/list_ctrl_view.h"
#include "shell/tree_catalog_walk.h"
#include "shell/tree_ctrl_view.h"

namespace {

constexpr int kMargin = 20;

bool Overlaps(const RECT& a, const RECT& b) {
    RECT r;
    return IntersectRect(&r, &a, &b) != FALSE;
}

RECT At(const RECT& r, LONG x, LONG y) { return {x, y, x + (r.right - r.left), y + (r.bottom - r.top)}; }

bool Inside(const RECT& r, const RECT& screen) {
    return r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom;
}

LONG Clamp(LONG v, LONG low, LONG high) { return v < low ? low : (v > high ? high : v); }

}  // namespace

RECT PlaceOffItem(const RECT& dialog, const RECT& item, const RECT& screen) {
    if (!Overlaps(dialog, item)) return dialog;
    const LONG w = dialog.right - dialog.left, h = dialog.bottom - dialog.top;
    const bool leftHalf = (item.left + item.right) / 2 < (screen.left + screen.right) / 2;
    const bool upperHalf = (item.top + item.bottom) / 2 < (screen.top + screen.bottom) / 2;
    const LONG right = item.right + kMargin, left = item.left - kMargin - w;
    const LONG below = item.bottom + kMargin, above = item.top - kMargin - h;
    const LONG x = leftHalf ? right : left, otherX = leftHalf ? left : right;
    const LONG y = upperHalf ? below : above, otherY = upperHalf ? above : below;
    const LONG keptX = Clamp(dialog.left, screen.left, screen.right - w);
    const LONG keptY = Clamp(dialog.top, screen.top, screen.bottom - h);
    // Beside and below (or above) first; a wide or tall item leaves room
    // only above or below it, or only beside it.
    const RECT candidates[] = {At(dialog, x, y),      At(dialog, keptX, y),      At(dialog, x, keptY),
                               At(dialog, keptX, otherY), At(dialog, otherX, keptY), At(dialog, otherX, otherY)};
    for (const RECT& c : candidates)
        if (Inside(c, screen) && !Overlaps(c, item)) return c;
    return At(dialog, Clamp(x, screen.left, screen.right - w), Clamp(y, screen.top, screen.bottom - h));
}

CFindDialog::CFindDialog(CTreeCtrlView& tree, CListCtrlView& list, const vault::VaultContext& vault, UiPort& ui)
    : Dialog(IDD_FIND), tree_(tree), list_(list), engine_(vault, ui) {}

bool CFindDialog::Open(HWND owner, const std::string& text, std::uint32_t mask, Completed completed) {
    initialText_ = text;
    initialMask_ = mask;
    completed_ = std::move(completed);
    state_ = {};
    vault::FindEngine::Start(state_, TreeCatalogWalk(tree_));
    if (!CreateModeless(owner)) return false;
    if (!state_.catalog) {
        End(IDCANCEL);
        return false;
    }
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

bool CFindDialog::OnInitDialog() {
    SetItemText(IDC_FIND_TEXT, initialText_);
    const auto options = vault::FindOptions::FromMask(initialMask_);
    SetChecked(IDC_FIND_TITLE, options.title);
    SetChecked(IDC_FIND_DESCRIPTION, options.description);
    SetChecked(IDC_FIND_NAME, options.fileName);
    SetChecked(IDC_FIND_CONTENT, options.content);
    SetChecked(IDC_FIND_MATCH_CASE, options.matchCase);
    SetChecked(IDC_FIND_WHOLE_WORD, options.wholeWord);
    for (int id : {IDC_FIND_DIRECTION, IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_HELP}) ShowItem(id, false);
    EnableItem(IDOK, !initialText_.empty());
    SetFocus(Item(IDC_FIND_TEXT));
    SendMessageA(Item(IDC_FIND_TEXT), EM_SETSEL, 0, -1);
    return false;  // focus set here
}

INT_PTR CFindDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDC_FIND_TEXT && HIWORD(wp) == EN_CHANGE) {
        EnableItem(IDOK, GetWindowTextLengthA(Item(IDC_FIND_TEXT)) > 0);
        return TRUE;
    }
    return Dialog::DialogProc(msg, wp, lp);
}

void CFindDialog::ReadFields() {
    state_.text = ItemText(IDC_FIND_TEXT);
    state_.options.title = IsChecked(IDC_FIND_TITLE);
    state_.options.description = IsChecked(IDC_FIND_DESCRIPTION);
    state_.options.fileName = IsChecked(IDC_FIND_NAME);
    state_.options.content = IsChecked(IDC_FIND_CONTENT);
    state_.options.matchCase = IsChecked(IDC_FIND_MATCH_CASE);
    state_.options.wholeWord = IsChecked(IDC_FIND_WHOLE_WORD);
}

void CFindDialog::FindNext() {
    if (!hwnd_ || searching_) return;
    ReadFields();
    if (state_.text.empty()) return;
    vault::FindHit hit;
    vault::FindOutcome outcome;
    {
        WaitCursor wait;
        BusyPump pump;
        searching_ = true;
        outcome = engine_.FindNext(state_, TreeCatalogWalk(tree_), hit, [&pump] { return pump.KeepGoing(); });
        searching_ = false;
    }
    switch (outcome) {
        case vault::FindOutcome::hit: ShowHit(hit); break;
        case vault::FindOutcome::finished:
            if (completed_) completed_(state_.text, state_.options.Mask());
            End(IDOK);
            break;
        case vault::FindOutcome::stopped: break;
    }
}

void CFindDialog::ShowHit(const vault::FindHit& hit) {
    HTREEITEM item = TreeCatalogWalk::Item(hit.catalog);
    TreeView_EnsureVisible(tree_, item);
    TreeView_SelectItem(tree_, item);
    if (hit.kind == vault::LookAt::title) {
        RECT r{};
        if (TreeView_GetItemRect(tree_, item, &r, TRUE)) MoveOffItem(tree_, r);
        return;
    }
    list_.ShowCatalog(tree_.CatalogPath(item));
    const int row = static_cast<int>(hit.record);
    ListView_EnsureVisible(list_, row, FALSE);
    list_.HighlightItem(row);
    RECT r{};
    if (ListView_GetItemRect(list_, row, &r, LVIR_LABEL)) MoveOffItem(list_, r);
}

void CFindDialog::MoveOffItem(HWND control, RECT itemRect) {
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&itemRect), 2);
    RECT dialog;
    GetWindowRect(hwnd_, &dialog);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&itemRect, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT placed = PlaceOffItem(dialog, itemRect, monitor.rcWork);
    if (placed.left != dialog.left || placed.top != dialog.top)
        SetWindowPos(hwnd_, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFindDialog::CatalogDeleting(HTREEITEM item) {
    if (!item || TreeCatalogWalk::Item(state_.catalog) != item) return;
    // The search goes on with what follows the item's subtree.
    HTREEITEM next = nullptr;
    for (HTREEITEM i = item; i && !next; i = TreeView_GetParent(tree_, i)) next = TreeView_GetNextSibling(tree_, i);
    state_.catalog = TreeCatalogWalk::RefOf(next);
    state_.optionPosition = 0;
    state_.documentPosition = 0;
}
