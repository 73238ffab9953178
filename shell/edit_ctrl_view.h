// The bottom pane: a tab control with its tabs along the bottom edge and
// three pages, "Messages", "Download Jobs" and "Descriptions".
#pragma once
#include <functional>
#include <string>

#include "common/window.h"
#include "shell/jobs_view.h"
#include "shell/page_dialog.h"

// The Descriptions page edits one record's description at a time and
// stores it through the function it was given when its edit control loses
// the focus, or when the records are about to change.
class DescriptionsPage : public PageDialog {
public:
    using Store = std::function<void(int item, const std::string& text)>;
    DescriptionsPage();
    // Shows `text` (or the hint when it is empty, selected so typing
    // replaces it) for record `item` and focuses the edit.
    void Begin(int item, const std::string& text, Store store);
    // Stores a changed text and clears the page; nothing when no edit runs.
    void Commit();
    bool editing() const { return item_ != -1; }
    int item() const { return item_; }

protected:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int item_ = -1;
    Store store_;
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
    // The Download Jobs page: the jobs list.
    HWND JobsPage() const { return jobs_.hwnd(); }
    CJobsView& jobsView() { return jobs_; }
    // Rectangle of the tab control where the pages are shown.
    RECT DisplayArea() const;

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void PlacePages();
    PageDialog messages_;
    CJobsView jobs_;
    DescriptionsPage descriptions_;
    int currentTab_ = -1;
    HWND currentPage_ = nullptr;
    bool pagesShown_ = false;
};
