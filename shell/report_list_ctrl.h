// A report list whose rows are drawn by the control itself, with the
// selection highlighted across the whole row up to the right edge of the
// client area instead of behind the first column only. The platform's list
// control does everything else (items, columns, header, selection, scroll).
// Create it with LVS_REPORT | LVS_OWNERDRAWFIXED.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/window.h"

class CReportListCtrl : public Window {
public:
    // Takes over a list control of a dialog.
    bool SubclassDlgItem(HWND dialog, int id);
    HWND header() const { return ListView_GetHeader(hwnd_); }

    // When set, a row's texts come from here in one call (one copy of the
    // row's data) instead of one item-text request per cell.
    std::function<std::vector<std::string>(int item)> rowTexts;

    // Draws one row as the owner-draw request asks.
    void DrawItem(const DRAWITEMSTRUCT& item);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    std::vector<std::string> TextsOf(int item, int columns) const;
    void RedrawFocusAndSelection();
    void InvalidateRightOfColumns();
    bool ToggleStateImage(POINT client);
};
