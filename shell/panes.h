// The upper row of the main window: a frame holding a view whose splitter
// shows the catalog tree (a quarter) beside the document list.
#pragma once
#include "shell/splitter.h"
#include "shell/list_ctrl_view.h"
#include "shell/tree_ctrl_view.h"

class CSplitterView : public Window {
public:
    CSplitterView() : columns_(SplitterWindow::Split::Columns) { forwardToParent_ = true; }
    bool Create(HWND parent);
    CTreeCtrlView& tree() { return tree_; }
    CListCtrlView& list() { return list_; }
    const SplitterWindow& columns() const { return columns_; }
    // Column widths for a view w pixels wide: column 1 three quarters (at
    // least 20), column 0 the rest.
    static void ColumnWidths(int w, int& column0, int& column1);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    SplitterWindow columns_;
    CTreeCtrlView tree_;
    CListCtrlView list_;
};

class CTopPaneFrame : public Window {
public:
    CTopPaneFrame() { forwardToParent_ = true; }
    bool Create(HWND parent);
    CSplitterView& view() { return view_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    CSplitterView view_;
};
