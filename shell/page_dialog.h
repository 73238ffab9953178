// A child page of the bottom pane that keeps its one control filling the
// page and never closes on Enter or Escape.
#pragma once
#include "common/window.h"

class PageDialog : public Dialog {
public:
    PageDialog(int templateId, int fillId) : Dialog(templateId), fillId_(fillId) {}
    HWND Control() const { return Item(fillId_); }

protected:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int fillId_;
};
