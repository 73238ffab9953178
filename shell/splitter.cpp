#include "shell/splitter.h"

#include <windowsx.h>

bool SplitterWindow::Create(HWND parent, int id) {
    RegisterWindowClass("ArchivonSplitter", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return Window::Create("ArchivonSplitter", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

int SplitterWindow::Extent() const {
    const RECT r = ClientRect();
    return split_ == Split::Rows ? r.bottom : r.right;
}

void SplitterWindow::RecalcLayout() {
    if (!hwnd_) return;
    const RECT r = ClientRect();
    const int extent = Extent();
    int first = ideal_[0];
    if (first > extent - kBar) first = extent - kBar;
    if (first < 0) first = 0;
    const int second = extent - first - kBar < 0 ? 0 : extent - first - kBar;
    if (split_ == Split::Rows) {
        if (panes_[0]) MoveWindow(panes_[0], 0, 0, r.right, first, TRUE);
        if (panes_[1]) MoveWindow(panes_[1], 0, first + kBar, r.right, second, TRUE);
    } else {
        if (panes_[0]) MoveWindow(panes_[0], 0, 0, first, r.bottom, TRUE);
        if (panes_[1]) MoveWindow(panes_[1], first + kBar, 0, second, r.bottom, TRUE);
    }
}

LRESULT SplitterWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            RecalcLayout();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd_) {
                SetCursor(LoadCursor(nullptr, split_ == Split::Rows ? IDC_SIZENS : IDC_SIZEWE));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            dragging_ = true;
            SetCapture(hwnd_);
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            if (dragging_) {
                const int pos = split_ == Split::Rows ? GET_Y_LPARAM(lp) : GET_X_LPARAM(lp);
                SetPaneSize(0, pos - kBar / 2);
                RecalcLayout();
                if (msg == WM_LBUTTONUP) {
                    dragging_ = false;
                    ReleaseCapture();
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            dragging_ = false;
            return 0;
    }
    return Default(msg, wp, lp);
}
