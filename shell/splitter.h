// A static splitter of two panes (two rows or two columns) with a bar the
// user can drag. The first pane takes its ideal size, the second the rest.
#pragma once
#include "common/window.h"

class SplitterWindow : public Window {
public:
    enum class Split { Rows, Columns };
    explicit SplitterWindow(Split split) : split_(split) { forwardToParent_ = true; }

    bool Create(HWND parent, int id);
    void SetPanes(HWND first, HWND second) { panes_[0] = first, panes_[1] = second; }
    // Ideal size of a pane (height of a row, width of a column).
    void SetPaneSize(int index, int size) { ideal_[index] = size < 0 ? 0 : size; }
    int PaneSize(int index) const { return ideal_[index]; }
    void RecalcLayout();

    static constexpr int kBar = 4;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int Extent() const;
    Split split_;
    HWND panes_[2] = {};
    int ideal_[2] = {0, 0};
    bool dragging_ = false;
};
