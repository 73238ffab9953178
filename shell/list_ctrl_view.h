// The document list of the shown catalog: a report list whose cells are
// produced on request from the catalog's records, and the document
// commands of the "&Files" menu and of context menu 136.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/window.h"
#include "shell/catalog_drop_target.h"
#include "shell/drag_image.h"
#include "vault/document_list.h"

class UiPort;

class CListCtrlView : public Window {
public:
    CListCtrlView();
    ~CListCtrlView() override;
    bool Create(HWND parent);
    // The vault the documents belong to and the port through which the
    // document commands reach the user.
    void Bind(const vault::VaultContext& vault, UiPort& ui);
    void SetUi(UiPort& ui);
    // Ends a name edit and stores a description being edited, both in the
    // catalog still shown; called before the shown catalog changes.
    void SettleEdits();
    // Reloads the shown catalog; returns the record count.
    int Refresh();
    // Shows another catalog (after its edits settled); the record count.
    int ShowCatalog(const std::string& path);
    // The shown catalog's folder was renamed: the records stay.
    void SetCurrentCatalog(const std::string& path) { docs_->currentCatalog = path; }
    const std::string& currentCatalog() const { return docs_->currentCatalog; }
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
    // Moves the selected documents into a catalog (the end of a drag).
    void DropOnCatalog(const std::string& catalog);
    // The text of a cell as the list shows it.
    std::string CellText(int item, int column);
    // Gives one document the drop-target highlight (Find's hit) without
    // touching the selection; -1 takes it away. A reload takes it away too.
    void HighlightItem(int item);
    int highlightedItem() const { return highlighted_; }
    bool Dragging() const { return dragging_; }

    vault::DocumentList& documents() { return *docs_; }

    // Where documents are dragged to.
    CatalogDropTarget* dropTarget = nullptr;
    // A description edit in progress is stored now (records are about to
    // move or the command needs it).
    std::function<void()> onSettleDescription;
    // The user asked to edit record item's description, now `text`.
    std::function<void(int item, const std::string& text)> onEditDescription;

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

    UiPort& Ui();

    std::unique_ptr<vault::DocumentList> docs_;
    UiPort* ui_ = nullptr;
    HIMAGELIST smallIcons_ = nullptr;
    int encryptedIcon_ = -1;
    std::map<std::string, int> iconOfType_;
    bool dragging_ = false;
    int highlighted_ = -1;
    std::string editCatalog_;
    std::string editName_;
    DragImage dragImage_;
};

// Splits what the file-open dialog returns for a multiple selection (the
// folder, then the names, each ended by a zero) into full paths.
std::vector<std::string> SplitOpenFileSelection(const char* buffer);
