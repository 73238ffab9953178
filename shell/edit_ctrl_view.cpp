#include "shell/edit_ctrl_view.h"

#include <commctrl.h>

#include "res/resource.h"

DescriptionsPage::DescriptionsPage() : PageDialog(IDD_DESCRIPTIONS_PAGE, IDC_PAGE_EDIT) {}

INT_PTR DescriptionsPage::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDC_PAGE_EDIT && HIWORD(wp) == EN_KILLFOCUS) {
        Commit();
        return TRUE;
    }
    return PageDialog::DialogProc(msg, wp, lp);
}

CEditCtrlView::CEditCtrlView()
    : Dialog(IDD_BOTTOM_PANE), messages_(IDD_MESSAGES_PAGE, IDC_PAGE_EDIT) {}

bool CEditCtrlView::Create(HWND parent) {
    if (!CreateModeless(parent)) return false;
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

bool CEditCtrlView::OnInitDialog() {
    HWND t = tab();
    const char* titles[] = {"Messages", "Download Jobs", "Descriptions"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(titles[i]);
        TabCtrl_InsertItem(t, i, &item);
    }
    const RECT area = DisplayArea();
    messages_.CreateModeless(t);
    jobs_.CreateModeless(t);
    descriptions_.CreateModeless(t);
    for (HWND page : {messages_.hwnd(), jobs_.hwnd(), descriptions_.hwnd()})
        MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    SelectTab(0);
    return false;
}

RECT CEditCtrlView::DisplayArea() const {
    HWND t = tab();
    RECT control{}, item{};
    GetClientRect(t, &control);
    TabCtrl_GetItemRect(t, 0, &item);
    const int tabHeight = item.bottom - item.top;
    if (GetWindowLongA(t, GWL_STYLE) & TCS_BOTTOM)
        control.bottom -= tabHeight + 2;
    else
        control.top += tabHeight + 2;
    if (control.bottom < control.top) control.bottom = control.top;
    return control;
}

void CEditCtrlView::PlacePages() {
    if (!pagesShown_) return;
    const RECT area = DisplayArea();
    for (HWND page : {messages_.hwnd(), jobs_.hwnd(), descriptions_.hwnd()})
        MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

INT_PTR CEditCtrlView::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            ShowScrollBar(hwnd_, SB_BOTH, FALSE);
            MoveWindow(tab(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            PlacePages();
            return TRUE;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (header->idFrom == IDC_TAB && header->code == TCN_SELCHANGE) {
                SelectTab(-1);
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            // Enter or Escape inside a page must not close the pane.
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) return TRUE;
            // Menu commands that reach the pane go on to the frame.
            if (!lp) return SendMessageA(GetAncestor(hwnd_, GA_ROOT), msg, wp, lp), TRUE;
            break;
    }
    return Dialog::DialogProc(msg, wp, lp);
}

void CEditCtrlView::SelectTab(int index) {
    HWND t = tab();
    if (index == -1) index = TabCtrl_GetCurSel(t);
    if (index == currentTab_) return;
    if (TabCtrl_GetItemCount(t) <= 1)
        index = 0;
    else if (currentPage_)
        ShowWindow(currentPage_, SW_HIDE);
    currentTab_ = index;
    switch (index) {
        case 0: currentPage_ = messages_.hwnd(); break;
        case 1: currentPage_ = jobs_.hwnd(); break;
        case 2: currentPage_ = descriptions_.hwnd(); break;
        default: currentPage_ = nullptr; return;
    }
    pagesShown_ = true;
    PlacePages();
    ShowWindow(currentPage_, SW_SHOW);
    SetFocus(t);
    TabCtrl_SetCurSel(t, index);
}

void CEditCtrlView::AddMessage(const std::string& text) {
    SelectTab(0);
    HWND edit = MessagesEdit();
    const auto limit = static_cast<std::size_t>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
    const int length = GetWindowTextLengthA(edit);
    if (static_cast<std::size_t>(length) + 300 >= limit) {
        std::string all(length + 1, '\0');
        all.resize(GetWindowTextA(edit, all.data(), length + 1));
        std::size_t cut = 0;
        for (int line = 0; line < 10 && cut != std::string::npos; ++line) {
            cut = all.find('\n', cut);
            if (cut != std::string::npos) ++cut;
        }
        SetWindowTextA(edit, cut == std::string::npos ? "" : all.c_str() + cut);
    }
    const int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, end, end);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void DescriptionsPage::Begin(int item, const std::string& text, Store store) {
    HWND edit = Control();
    item_ = item;
    store_ = std::move(store);
    const std::string shown = text.empty() ? LoadResString(IDS_DESCRIPTION_HINT) : text;
    SetWindowTextA(edit, shown.c_str());
    if (text.empty()) SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    SetFocus(edit);
}

void DescriptionsPage::Commit() {
    if (item_ == -1) return;
    HWND edit = Control();
    const int item = item_;
    item_ = -1;
    if (SendMessageA(edit, EM_GETMODIFY, 0, 0) && store_) store_(item, WindowText(edit));
    store_ = nullptr;
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
}
