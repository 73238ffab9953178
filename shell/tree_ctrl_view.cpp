#include "shell/tree_ctrl_view.h"

#include <windowsx.h>

#include <cstdio>
#include <vector>

#include "common/ui_port.h"
#include "common/window_messages.h"
#include "res/resource.h"
#include "vault/catalog_service.h"

namespace {
constexpr char kNewCatalog[] = "New Catalog";
}  // namespace

bool CTreeCtrlView::HighlightDropTarget(POINT screen) {
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(hwnd_, &hit.pt);
    const RECT client = ClientRect();
    HTREEITEM item = PtInRect(&client, hit.pt) ? TreeView_HitTest(hwnd_, &hit) : nullptr;
    if (item && !(hit.flags & TVHT_ONITEM)) item = nullptr;
    if (item != listDropTarget_) {
        if (item) TreeView_Expand(hwnd_, item, TVE_EXPAND);
        TreeView_SelectDropTarget(hwnd_, item);
        listDropTarget_ = item;
    }
    return item != nullptr;
}

std::string CTreeCtrlView::TakeDropTarget() {
    HTREEITEM item = listDropTarget_;
    listDropTarget_ = nullptr;
    TreeView_SelectDropTarget(hwnd_, nullptr);
    return item ? CatalogPath(item) : std::string();
}

CTreeCtrlView::~CTreeCtrlView() {
    if (images_) ImageList_Destroy(images_);
}

bool CTreeCtrlView::Create(HWND parent) {
    if (!Window::Create(WC_TREEVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                            TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                        WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, nullptr))
        return false;
    images_ = ImageList_LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_TREE), 16, 1, RGB(255, 0, 255), IMAGE_BITMAP,
                                   LR_CREATEDIBSECTION);
    if (images_) TreeView_SetImageList(hwnd_, images_, TVSIL_NORMAL);
    return true;
}

void CTreeCtrlView::Bind(vault::CatalogService& catalogs, UiPort& ui) {
    catalogs_ = &catalogs;
    ui_ = &ui;
}

HTREEITEM CTreeCtrlView::InsertCatalog(HTREEITEM parent, const std::string& title) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(title.c_str());
    ins.item.iImage = 0;
    ins.item.iSelectedImage = 1;
    return TreeView_InsertItem(hwnd_, &ins);
}

std::string CTreeCtrlView::Label(HTREEITEM item) const {
    char buf[MAX_PATH + 1] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = sizeof buf;
    TreeView_GetItem(hwnd_, &tv);
    return buf;
}

void CTreeCtrlView::SetLabel(HTREEITEM item, const std::string& label) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = const_cast<char*>(label.c_str());
    TreeView_SetItem(hwnd_, &tv);
}

HTREEITEM CTreeCtrlView::FindChild(HTREEITEM parent, const std::string& label) const {
    for (HTREEITEM c = TreeView_GetChild(hwnd_, parent); c; c = TreeView_GetNextSibling(hwnd_, c))
        if (Label(c) == label) return c;
    return nullptr;
}

void CTreeCtrlView::Fill() {
    TreeView_DeleteAllItems(hwnd_);
    HTREEITEM root = InsertCatalog(TVI_ROOT, "Root");
    if (!catalogs_) return;
    catalogs_->Prepare();
    FillFolder(catalogs_->vault().root, root);
    TreeView_Expand(hwnd_, root, TVE_EXPAND);
}

void CTreeCtrlView::FillFolder(const std::string& folder, HTREEITEM parent) {
    for (const std::string& title : catalogs_->Children(folder))
        FillFolder(folder + "\\" + title, InsertCatalog(parent, title));
}

std::string CTreeCtrlView::CatalogPath(HTREEITEM item) const {
    std::vector<std::string> labels;
    for (HTREEITEM i = item; i && TreeView_GetParent(hwnd_, i); i = TreeView_GetParent(hwnd_, i))
        labels.push_back(Label(i));
    std::string path = catalogs_ ? catalogs_->vault().root : std::string();
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) path += "\\" + *it;
    return path;
}

HTREEITEM CTreeCtrlView::NextCatalog(HTREEITEM item) const { return NextInSubtree(item, nullptr); }

HTREEITEM CTreeCtrlView::NextInSubtree(HTREEITEM item, HTREEITEM top) const {
    if (HTREEITEM child = TreeView_GetChild(hwnd_, item)) return child;
    for (HTREEITEM i = item; i && i != top; i = TreeView_GetParent(hwnd_, i))
        if (HTREEITEM next = TreeView_GetNextSibling(hwnd_, i)) return next;
    return nullptr;
}

std::vector<std::string> CTreeCtrlView::SubtreeCatalogs(HTREEITEM top) const {
    std::vector<std::string> catalogs;
    for (HTREEITEM i = top; i; i = NextInSubtree(i, top)) catalogs.push_back(CatalogPath(i));
    return catalogs;
}

void CTreeCtrlView::SetupWorkingFolders() {
    HTREEITEM selected = Selected();
    if (!selected || !onSetupWorkingFolders) return;
    LeavingCatalog();
    onSetupWorkingFolders(SubtreeCatalogs(selected));
}

void CTreeCtrlView::CheckInSubtree(bool remove) {
    HTREEITEM selected = Selected();
    if (!selected || !onCheckInCatalogs) return;
    LeavingCatalog();
    onCheckInCatalogs(SubtreeCatalogs(selected), remove);
}

void CTreeCtrlView::Refuse() {
    if (ui_) ui_->Beep();
}

void CTreeCtrlView::LeavingCatalog() {
    if (onLeavingCatalog) onLeavingCatalog();
}

void CTreeCtrlView::AddCatalog() {
    HTREEITEM selected = Selected();
    if (!selected || !catalogs_) return;
    LeavingCatalog();
    if (catalogs_->Exists(CatalogPath(selected) + "\\" + kNewCatalog)) {
        Refuse();
        return;
    }
    HTREEITEM item = InsertCatalog(selected, kNewCatalog);
    TreeView_SelectItem(hwnd_, item);
    SetFocus(hwnd_);
    TreeView_EditLabel(hwnd_, item);
}

void CTreeCtrlView::RenameCatalog() {
    HTREEITEM selected = Selected();
    if (!selected || Label(selected) == "Root") return;
    SetFocus(hwnd_);
    TreeView_EditLabel(hwnd_, selected);
}

void CTreeCtrlView::DeleteCatalog() {
    HTREEITEM selected = Selected();
    if (!selected || !ui_ || !catalogs_) return;
    const std::string label = Label(selected);
    if (selected == Root() || label == "UnknownCatalog") {
        ui_->Ask(LoadResString(IDS_CANNOT_DELETE_SYSTEM_ITEM), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (TreeView_GetChild(hwnd_, selected)) {
        ui_->Ask(LoadResString(IDS_CATALOG_NOT_EMPTY), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    char question[512];
    snprintf(question, sizeof question, LoadResString(IDS_CONFIRM_DELETE_CATALOG).c_str(), label.c_str());
    if (ui_->Ask(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    if (catalogs_->Delete(CatalogPath(selected)))
        TreeView_DeleteItem(hwnd_, selected);
    else
        ui_->Ask(LoadResString(IDS_CATALOG_NOT_EMPTY), MB_OK | MB_ICONEXCLAMATION);
}

void CTreeCtrlView::OnSelectionChanged(HTREEITEM item) {
    if (!item) return;
    LeavingCatalog();
    if (onCatalogChanged) onCatalogChanged(CatalogPath(item));
}

bool CTreeCtrlView::OnEndLabelEdit(NMTVDISPINFOA* info) {
    // Some platforms send the end of an edit twice; only the first counts.
    if (!editing_) return false;
    editing_ = false;
    HTREEITEM item = info->item.hItem;
    const std::string oldLabel = editOldLabel_;
    const std::string newLabel = info->item.pszText ? info->item.pszText : "";
    if (!newLabel.empty()) SetLabel(item, newLabel);
    HTREEITEM parent = TreeView_GetParent(hwnd_, item);
    if (!parent) return false;
    if (!catalogs_ || !catalogs_->ApplyTitle(CatalogPath(parent), oldLabel, newLabel)) {
        Refuse();
        SetLabel(item, oldLabel);
        PostMessageA(hwnd_, WM_REEDIT_CATALOG_NAME, 0, reinterpret_cast<LPARAM>(item));
        return false;
    }
    if (onCatalogRenamed && item == Selected()) onCatalogRenamed(CatalogPath(item));
    return false;
}

bool CTreeCtrlView::OnReflectedNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
        case TVN_SELCHANGEDA:
            OnSelectionChanged(reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem);
            return true;
        case TVN_BEGINLABELEDITA: {
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            editOldLabel_ = Label(info->item.hItem);
            editing_ = true;
            result = FALSE;
            return true;
        }
        case TVN_ENDLABELEDITA:
            result = OnEndLabelEdit(reinterpret_cast<NMTVDISPINFOA*>(header)) ? TRUE : FALSE;
            return true;
        case TVN_BEGINDRAGA:
            BeginDrag(reinterpret_cast<NMTREEVIEWA*>(header));
            return true;
        case TVN_DELETEITEMA:
            if (onItemDeleting) onItemDeleting(reinterpret_cast<NMTREEVIEWA*>(header)->itemOld.hItem);
            return true;
        case NM_RCLICK: {
            POINT pt;
            GetCursorPos(&pt);
            TVHITTESTINFO hit{};
            hit.pt = pt;
            ScreenToClient(hwnd_, &hit.pt);
            if (HTREEITEM item = TreeView_HitTest(hwnd_, &hit)) TreeView_SelectItem(hwnd_, item);
            // The frame shows the tree's menu for a point inside the tree.
            SendMessageA(GetParent(hwnd_), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(pt.x, pt.y));
            result = TRUE;
            return true;
        }
    }
    return false;
}

void CTreeCtrlView::BeginDrag(NMTREEVIEWA* info) {
    // A drag starts only when the button is still down a moment later; a
    // button-up already waiting means it was a click.
    Sleep(250);
    MSG msg;
    if (PeekMessageA(&msg, hwnd_, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) return;
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (!(GetAsyncKeyState(button) & 0x8000)) return;  // released outside the tree
    dragItem_ = info->itemNew.hItem;
    dropTarget_ = nullptr;
    dragImage_.Begin(TreeView_CreateDragImage(hwnd_, dragItem_), {0, 0}, hwnd_, info->ptDrag);
    SetCapture(hwnd_);
    SetTimer(hwnd_, kHoverTimer, 2000, nullptr);
}

void CTreeCtrlView::EndDrag(bool drop) {
    HTREEITEM dragged = dragItem_, target = dropTarget_;
    dragImage_.End();
    dragItem_ = nullptr;
    dropTarget_ = nullptr;
    KillTimer(hwnd_, kHoverTimer);
    ReleaseCapture();
    TreeView_SelectDropTarget(hwnd_, nullptr);
    if (drop && dragged && target) DropCatalog(dragged, target);
}

bool CTreeCtrlView::DropCatalog(HTREEITEM dragged, HTREEITEM target) {
    if (!ui_ || !catalogs_) return false;
    for (HTREEITEM i = target; i; i = TreeView_GetParent(hwnd_, i))
        if (i == dragged) return false;
    TreeView_Expand(hwnd_, target, TVE_EXPAND);
    if (ui_->Ask(LoadResString(IDS_CONFIRM_MOVE_CATALOG), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    const std::string destination = CatalogPath(target) + "\\" + Label(dragged);
    if (catalogs_->Exists(destination)) return false;
    if (!catalogs_->Move(CatalogPath(dragged), destination)) return false;
    KillTimer(hwnd_, kHoverTimer);
    HTREEITEM copy = CopySubtree(dragged, target);
    TreeView_DeleteItem(hwnd_, dragged);
    TreeView_SelectItem(hwnd_, copy);
    return true;
}

HTREEITEM CTreeCtrlView::CopySubtree(HTREEITEM item, HTREEITEM newParent) {
    char text[MAX_PATH + 1] = {};
    TVINSERTSTRUCTA ins{};
    ins.hParent = newParent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    ins.item.hItem = item;
    ins.item.pszText = text;
    ins.item.cchTextMax = sizeof text;
    ins.item.stateMask = TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK;
    TreeView_GetItem(hwnd_, &ins.item);
    HTREEITEM copy = TreeView_InsertItem(hwnd_, &ins);
    for (HTREEITEM c = TreeView_GetChild(hwnd_, item); c; c = TreeView_GetNextSibling(hwnd_, c))
        CopySubtree(c, copy);
    return copy;
}

LRESULT CTreeCtrlView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_REEDIT_CATALOG_NAME:
            SetFocus(hwnd_);
            TreeView_EditLabel(hwnd_, reinterpret_cast<HTREEITEM>(lp));
            return 0;
        case WM_MOUSEMOVE:
            if (dragItem_) {
                TVHITTESTINFO hit{};
                hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                dragImage_.Show(false);
                if (HTREEITEM item = TreeView_HitTest(hwnd_, &hit)) {
                    dropTarget_ = item;
                    TreeView_SelectDropTarget(hwnd_, item);
                }
                dragImage_.Show(true);
                dragImage_.Move(hit.pt);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (dragItem_) {
                EndDrag(true);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (dragItem_ && reinterpret_cast<HWND>(lp) != hwnd_) EndDrag(false);
            break;
        case WM_TIMER:
            if (wp == kHoverTimer) {
                if (dropTarget_ && TreeView_GetChild(hwnd_, dropTarget_))
                    TreeView_Expand(hwnd_, dropTarget_, TVE_EXPAND);
                return 0;
            }
            break;
        case WM_DESTROY:
            KillTimer(hwnd_, kHoverTimer);
            break;
    }
    return Default(msg, wp, lp);
}
