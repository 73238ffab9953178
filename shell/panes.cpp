#include "shell/panes.h"

bool CSplitterView::Create(HWND parent) {
    RegisterWindowClass("ArchivonSplitterView");
    if (!Window::Create("ArchivonSplitterView", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                        nullptr))
        return false;
    if (!columns_.Create(hwnd_, 1) || !tree_.Create(columns_) || !list_.Create(columns_)) return false;
    columns_.SetPanes(tree_, list_);
    return true;
}

void CSplitterView::ColumnWidths(int w, int& column0, int& column1) {
    column1 = (3 * w) / 4;
    if (column1 < 20) column1 = 20;
    column0 = w - column1;
    if (column0 < 0) column0 = 0;
}

LRESULT CSplitterView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE: {
            const int w = LOWORD(lp), h = HIWORD(lp);
            // Two pixels beyond each edge hide the splitter's own border.
            columns_.MoveTo(-2, -2, w + 4, h + 4, false);
            int c0, c1;
            ColumnWidths(w, c0, c1);
            columns_.SetPaneSize(0, c0);
            columns_.SetPaneSize(1, c1);
            columns_.RecalcLayout();
            return 0;
        }
    }
    return Default(msg, wp, lp);
}

bool CTopPaneFrame::Create(HWND parent) {
    RegisterWindowClass("ArchivonTopPane");
    if (!Window::Create("ArchivonTopPane", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                        nullptr))
        return false;
    return view_.Create(hwnd_);
}

LRESULT CTopPaneFrame::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            view_.MoveTo(0, 0, LOWORD(lp), HIWORD(lp));
            return 0;
    }
    return Default(msg, wp, lp);
}
