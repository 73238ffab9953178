// The document list of the shown catalog.
#pragma once
#include <string>
#include <vector>

#include "shell/window.h"

class CTreeCtrlView;
class CEditCtrlView;

class CListCtrlView : public Window {
public:
    bool Create(HWND parent);
    // Reloads the shown catalog; returns the record count.
    int Refresh();
    int RecordCount() const { return recordCount_; }
    // Puts files into a catalog; index of the last list item or -1.
    int AddFilesToCatalog(const std::vector<std::string>& files, bool move, const std::string& catalog,
                          bool noRefresh);
    // Stores an edited description of record `item` and saves the index.
    void CommitDescription(int item, const std::string& text);
    // The in-place name editor while a label is edited, else null.
    HWND EditControl() const;

    std::string currentCatalog;
    CTreeCtrlView* tree = nullptr;
    CEditCtrlView* bottom = nullptr;

private:
    int recordCount_ = 0;
};
