// The document list of the shown catalog: a report list whose cells are
// produced on request from the catalog's records, and the document
// commands of the "&Files" menu and of context menu 136.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/window.h"
#include "vault/document_list.h"

class CTreeCtrlView;
class CEditCtrlView;
class UiPort;

class CListCtrlView : public Window {
public:
    CListCtrlView();
    ~CListCtrlView() override;
    bool Create(HWND parent);
    // Ends a name edit and stores a description being edited, both in the
    // catalog still shown; called before the shown catalog changes.
    void SettleEdits();
    // Reloads the shown catalog; returns the record count.
    int Refresh();
    int RecordCount() const;
    // Puts files into a catalog; index of the last list item or -1.
    int AddFilesToCatalog(const std::vector<std::string>& files, bool move, const std::string& catalog,
                          bool noRefresh);
    // Moves a file beside document `name`; `path` becomes its stored name.
    bool AddCompanionFile(const std::string& name, std::string& path, const std::string& catalog);
    // Stores an edited description of record `item` and saves the index.
    void CommitDescription(int item, const std::string& text);
    // The in-place name editor while a label is edited, else null.
    HWND EditControl() const;
    // A command of menu "&Files" or of the context menu; false when it is
    // not one of this list's.
    bool OnCommand(UINT id);
    // Selected items (record indexes) in list order.
    std::vector<int> SelectedItems() const;
    void SelectOnly(const std::vector<int>& items);
    // Moves the selected documents into the catalog of a tree item (the end
    // of a drag onto the tree).
    void DropOnCatalog(HTREEITEM target);
    // The text of a cell as the list shows it.
    std::string CellText(int item, int column);
    bool Dragging() const { return dragging_; }

    vault::DocumentList& documents();

    std::string currentCatalog;
    CTreeCtrlView* tree = nullptr;
    CEditCtrlView* bottom = nullptr;
    UiPort* ui = nullptr;

    // Posted by other parts to have the list reload its catalog.
    static constexpr UINT kRefreshMessage = WM_USER + 300;
    static constexpr int kColumnCount = 9;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

private:
    void RebuildItems();
    void OnGetDispInfo(NMLVDISPINFOA* info);
    int IconOf(int item);
    bool OnEndLabelEdit(NMLVDISPINFOA* info);
    void AddFilesCommand();
    void EditDescription(int item);
    void EncryptSelected();
    void CommitPendingDescription();
    void BeginDrag(NMLISTVIEW* info);
    void EndDrag(bool drop);
    void TrackDrag(POINT clientPoint);

    std::unique_ptr<vault::DocumentList> docs_;
    HIMAGELIST smallIcons_ = nullptr;
    int encryptedIcon_ = -1;
    std::map<std::string, int> iconOfType_;
    bool dragging_ = false;
    std::string editCatalog_;
    std::string editName_;
    HTREEITEM dropTarget_ = nullptr;
    HIMAGELIST dragImage_ = nullptr;
};

// Splits what the file-open dialog returns for a multiple selection (the
// folder, then the names, each ended by a zero) into full paths.
std::vector<std::string> SplitOpenFileSelection(const char* buffer);
