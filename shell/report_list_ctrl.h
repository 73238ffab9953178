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
    ~CReportListCtrl() override;
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
    // What every row of one paint shares, read once per paint: each question
    // to the control costs a round trip on some platforms.
    struct Layout {
        bool focused = false;
        bool showAlways = false;
        RECT client{};
        int gap = 0;
        std::vector<int> widths;
        std::vector<UINT> alignments;
        HIMAGELIST smallImages = nullptr;
        HIMAGELIST stateImages = nullptr;
        COLORREF back = 0;
        COLORREF text = 0;
        HGDIOBJ font = nullptr;
    };
    Layout ReadLayout(HDC dc) const;
    // The off-screen surface a row is drawn on, kept between rows.
    HDC Surface(HDC like, int width, int height);
    void ReleaseSurface();

    std::vector<std::string> TextsOf(int item, int columns) const;
    void RedrawFocusAndSelection();
    void InvalidateRightOfColumns();
    bool ToggleStateImage(POINT client);

    bool painting_ = false;
    Layout layout_;
    HDC surfaceDc_ = nullptr;
    HBITMAP surface_ = nullptr;
    HGDIOBJ surfaceOld_ = nullptr;
    SIZE surfaceSize_{};
};
