// The bottom pane: a tab control with its tabs along the bottom edge and
// three pages, "Messages", "Download Jobs" and "Descriptions".
#pragma once
#include <string>

#include "shell/window.h"

class CTreeCtrlView;
class CListCtrlView;

// A child page that keeps its one control filling the page.
class PageDialog : public Dialog {
public:
    PageDialog(int templateId, int fillId) : Dialog(templateId), fillId_(fillId) {}
    HWND Control() const { return Item(fillId_); }

protected:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int fillId_;
};

// The Descriptions page also commits the edited description when its edit
// control loses the focus.
class DescriptionsPage : public PageDialog {
public:
    DescriptionsPage();
    int descriptionItem = -1;
    CListCtrlView* descriptionOwner = nullptr;
    void Commit();

protected:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class CEditCtrlView : public Dialog {
public:
    CEditCtrlView();
    bool Create(HWND parent);

    void AddMessage(const std::string& text);
    void SelectTab(int index);

    int currentTab() const { return currentTab_; }
    HWND currentPage() const { return currentPage_; }
    HWND tab() const { return Item(1021); }
    HWND MessagesEdit() const { return messages_.Control(); }
    HWND DescriptionsEdit() const { return descriptions_.Control(); }
    DescriptionsPage& descriptions() { return descriptions_; }
    // The Download Jobs page; the job list view lives in it.
    HWND JobsPage() const { return jobs_.hwnd(); }
    // Rectangle of the tab control where the pages are shown.
    RECT DisplayArea() const;

    CTreeCtrlView* tree = nullptr;
    CListCtrlView* list = nullptr;

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void PlacePages();
    PageDialog messages_;
    Window jobs_;
    DescriptionsPage descriptions_;
    int currentTab_ = -1;
    HWND currentPage_ = nullptr;
    bool pagesShown_ = false;
};
