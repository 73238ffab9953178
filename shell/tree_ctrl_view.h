// The catalog tree: one item per catalog folder under the vault root. The
// view renders the catalogs and asks the catalog service to change them;
// who shows the selected catalog learns of it through onCatalogChanged.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/window.h"
#include "shell/catalog_drop_target.h"
#include "shell/drag_image.h"

class UiPort;
namespace vault {
class CatalogService;
}

class CTreeCtrlView : public Window, public CatalogDropTarget {
public:
    ~CTreeCtrlView() override;
    bool Create(HWND parent);
    // The service behind the folder operations and the port for refusals.
    void Bind(vault::CatalogService& catalogs, UiPort& ui);
    // Builds the whole tree from the disk.
    void Fill();

    std::string CatalogPath(HTREEITEM item) const;
    // Depth-first pre-order successor, or null at the end.
    HTREEITEM NextCatalog(HTREEITEM item) const;
    // The same walk limited to the subtree under top.
    HTREEITEM NextInSubtree(HTREEITEM item, HTREEITEM top) const;

    void AddCatalog();
    void RenameCatalog();
    void DeleteCatalog();
    // The working-copy commands over the selected catalog and every
    // catalog below it.
    void SetupWorkingFolders();
    void CheckInSubtree(bool remove);
    // Paths of the catalogs under top in walk order, top first.
    std::vector<std::string> SubtreeCatalogs(HTREEITEM top) const;
    // Moves the dragged catalog under target, after asking; true when moved.
    bool DropCatalog(HTREEITEM dragged, HTREEITEM target);

    HTREEITEM Root() const { return TreeView_GetRoot(hwnd_); }
    HTREEITEM Selected() const { return TreeView_GetSelection(hwnd_); }
    std::string Label(HTREEITEM item) const;
    HTREEITEM FindChild(HTREEITEM parent, const std::string& label) const;
    HWND EditControl() const { return TreeView_GetEditControl(hwnd_); }
    bool Dragging() const { return dragItem_ != nullptr; }

    // CatalogDropTarget
    bool HighlightDropTarget(POINT screen) override;
    std::string TakeDropTarget() override;

    // Before the shown catalog changes: edits in progress settle.
    std::function<void()> onLeavingCatalog;
    // A catalog item is about to go (its folder moved or removed, or the
    // tree refilled); its children have gone before it.
    std::function<void(HTREEITEM item)> onItemDeleting;
    // The selected catalog is now this folder.
    std::function<void(const std::string& path)> onCatalogChanged;
    // The selected catalog's folder was renamed to this path.
    std::function<void(const std::string& path)> onCatalogRenamed;
    // Working-copy commands over these catalogs (walk order, top first).
    std::function<void(const std::vector<std::string>& catalogs)> onSetupWorkingFolders;
    std::function<void(const std::vector<std::string>& catalogs, bool remove)> onCheckInCatalogs;

    static constexpr UINT_PTR kHoverTimer = 1000;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

private:
    void FillFolder(const std::string& folder, HTREEITEM parent);
    HTREEITEM InsertCatalog(HTREEITEM parent, const std::string& title);
    void OnSelectionChanged(HTREEITEM item);
    bool OnEndLabelEdit(NMTVDISPINFOA* info);
    void BeginDrag(NMTREEVIEWA* info);
    void EndDrag(bool drop);
    HTREEITEM CopySubtree(HTREEITEM item, HTREEITEM newParent);
    void SetLabel(HTREEITEM item, const std::string& label);
    void Refuse();
    void LeavingCatalog();

    vault::CatalogService* catalogs_ = nullptr;
    UiPort* ui_ = nullptr;
    std::string editOldLabel_;
    bool editing_ = false;
    HTREEITEM dragItem_ = nullptr;
    HTREEITEM dropTarget_ = nullptr;
    HTREEITEM listDropTarget_ = nullptr;
    HIMAGELIST images_ = nullptr;
    DragImage dragImage_;
};
