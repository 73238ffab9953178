// The catalog tree: one item per catalog folder under the vault root.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "shell/window.h"

class CListCtrlView;
class CEditCtrlView;
class CMainFrame;

class CTreeCtrlView : public Window {
public:
    ~CTreeCtrlView() override;
    bool Create(HWND parent);
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
    // Moves the dragged catalog under target, after asking; true when moved.
    bool DropCatalog(HTREEITEM dragged, HTREEITEM target);

    HTREEITEM Root() const { return TreeView_GetRoot(hwnd_); }
    HTREEITEM Selected() const { return TreeView_GetSelection(hwnd_); }
    std::string Label(HTREEITEM item) const;
    HTREEITEM FindChild(HTREEITEM parent, const std::string& label) const;
    HWND EditControl() const { return TreeView_GetEditControl(hwnd_); }
    const std::string& currentCatalogPath() const { return currentCatalogPath_; }
    bool Dragging() const { return dragItem_ != nullptr; }

    CListCtrlView* list = nullptr;
    CEditCtrlView* bottom = nullptr;
    CMainFrame* frame = nullptr;

    static constexpr UINT_PTR kHoverTimer = 1000;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

private:
    void FillFolder(const std::string& folder, HTREEITEM parent);
    void OnSelectionChanged(HTREEITEM item);
    bool OnEndLabelEdit(NMTVDISPINFOA* info);
    void BeginDrag(NMTREEVIEWA* info);
    void EndDrag(bool drop);
    HTREEITEM CopySubtree(HTREEITEM item, HTREEITEM newParent);
    void SetLabel(HTREEITEM item, const std::string& label);
    void Refuse();

    std::string currentCatalogPath_;
    std::string editOldLabel_;
    bool editing_ = false;
    HTREEITEM dragItem_ = nullptr;
    HTREEITEM dropTarget_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST dragImage_ = nullptr;
};
