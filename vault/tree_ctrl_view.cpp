#include "vault/tree_ctrl_view.h"

#include <windowsx.h>

#include <vector>

#include "app/app_services.h"
#include "res/resource.h"
#include "shell/edit_ctrl_view.h"
#include "shell/main_frame.h"
#include "vault/folder_tree.h"
#include "vault/list_ctrl_view.h"

namespace {
constexpr UINT kReEditLabel = WM_APP + 0x101;
constexpr char kNewCatalog[] = "New Catalog";

bool FolderHoldsOnlyIndex(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool only = true;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != ".." && lstrcmpiA(name.c_str(), "_doc_info.dat") != 0) only = false;
    } while (only && FindNextFileA(h, &fd));
    FindClose(h);
    return only;
}

// A label becomes one folder name: no separators, no device or stream
// syntax, never "." or "..".
bool IsUsableFolderName(const std::string& name) {
    if (name == "." || name == "..") return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string("\\/:*?\"<>|").find(c) != std::string::npos)
            return false;
    return true;
}

// Junctions and folder links are not descended into: one pointing at an
// ancestor would make the walk endless.
bool IsPlainFolder(const WIN32_FIND_DATAA& fd) {
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
}  // namespace

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
    TVINSERTSTRUCTA ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>("Root");
    ins.item.iImage = 0;
    ins.item.iSelectedImage = 1;
    HTREEITEM root = TreeView_InsertItem(hwnd_, &ins);
    const std::string vault = GetVaultRoot();
    const std::string unknown = GetUnknownCatalogPath();
    if (!PathExists(unknown)) CreatePath(unknown);
    if (!IsFolder(vault) && frame)
        frame->AddMessage("The vault folder " + vault + " cannot be used.\r\n");
    FillFolder(vault, root);
    TreeView_Expand(hwnd_, root, TVE_EXPAND);
    currentCatalogPath_ = vault;
}

void CTreeCtrlView::FillFolder(const std::string& folder, HTREEITEM parent) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (!IsPlainFolder(fd) || name == "." || name == "..") continue;
        TVINSERTSTRUCTA ins{};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        ins.item.pszText = fd.cFileName;
        ins.item.iImage = 0;
        ins.item.iSelectedImage = 1;
        HTREEITEM item = TreeView_InsertItem(hwnd_, &ins);
        FillFolder(folder + "\\" + name, item);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

std::string CTreeCtrlView::CatalogPath(HTREEITEM item) const {
    std::vector<std::string> labels;
    for (HTREEITEM i = item; i && TreeView_GetParent(hwnd_, i); i = TreeView_GetParent(hwnd_, i))
        labels.push_back(Label(i));
    std::string path = GetVaultRoot();
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

void CTreeCtrlView::Refuse() {
    if (frame) frame->Beep();
}

void CTreeCtrlView::AddCatalog() {
    HTREEITEM selected = Selected();
    if (!selected) return;
    if (list) list->SettleEdits();
    if (PathExists(CatalogPath(selected) + "\\" + kNewCatalog)) {
        Refuse();
        return;
    }
    TVINSERTSTRUCTA ins{};
    ins.hParent = selected;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(kNewCatalog);
    ins.item.iImage = 0;
    ins.item.iSelectedImage = 1;
    HTREEITEM item = TreeView_InsertItem(hwnd_, &ins);
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
    if (!selected) return;
    const std::string label = Label(selected);
    if (!frame) return;
    if (selected == Root() || label == "UnknownCatalog") {
        frame->Ask(LoadResString(IDS_CANNOT_DELETE_SYSTEM_ITEM), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (TreeView_GetChild(hwnd_, selected)) {
        frame->Ask(LoadResString(IDS_CATALOG_NOT_EMPTY), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    char question[512];
    snprintf(question, sizeof question, LoadResString(IDS_CONFIRM_DELETE_CATALOG).c_str(), label.c_str());
    if (frame->Ask(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    const std::string path = CatalogPath(selected);
    // The index goes only when nothing but the index is left: an index that
    // could not be read must not be lost with the documents still there.
    if ((!list || list->RecordCount() == 0) && FolderHoldsOnlyIndex(path))
        DeleteFileA((path + "\\_doc_info.dat").c_str());
    if (RemoveDirectoryA(path.c_str()))
        TreeView_DeleteItem(hwnd_, selected);
    else
        frame->Ask(LoadResString(IDS_CATALOG_NOT_EMPTY), MB_OK | MB_ICONEXCLAMATION);
}

void CTreeCtrlView::OnSelectionChanged(HTREEITEM item) {
    if (!item) return;
    if (list) list->SettleEdits();
    currentCatalogPath_ = CatalogPath(item);
    if (list) {
        list->currentCatalog = currentCatalogPath_;
        list->Refresh();
    }
    if (frame) frame->ShowCurrentCatalog();
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
    const std::string parentPath = CatalogPath(parent);
    const std::string oldPath = parentPath + "\\" + oldLabel;
    bool ok = true;
    if (!newLabel.empty() && !IsUsableFolderName(newLabel))
        ok = false;
    else if (!PathExists(oldPath))
        ok = CreateDirectoryA((parentPath + "\\" + (newLabel.empty() ? oldLabel : newLabel)).c_str(), nullptr);
    else if (!newLabel.empty() && newLabel != oldLabel)
        ok = MoveFileA(oldPath.c_str(), (parentPath + "\\" + newLabel).c_str());
    if (!ok) {
        Refuse();
        SetLabel(item, oldLabel);
        PostMessageA(hwnd_, kReEditLabel, 0, reinterpret_cast<LPARAM>(item));
        return false;
    }
    currentCatalogPath_ = CatalogPath(item);
    if (list) list->currentCatalog = currentCatalogPath_;
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
        case NM_RCLICK: {
            POINT pt;
            GetCursorPos(&pt);
            TVHITTESTINFO hit{};
            hit.pt = pt;
            ScreenToClient(hwnd_, &hit.pt);
            if (HTREEITEM item = TreeView_HitTest(hwnd_, &hit)) TreeView_SelectItem(hwnd_, item);
            if (frame) frame->ShowContextMenu(IDM_TREE, pt);
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
    dragImage_ = TreeView_CreateDragImage(hwnd_, dragItem_);
    if (dragImage_) {
        ImageList_BeginDrag(dragImage_, 0, 0, 0);
        ImageList_DragEnter(hwnd_, info->ptDrag.x, info->ptDrag.y);
    }
    SetCapture(hwnd_);
    SetTimer(hwnd_, kHoverTimer, 2000, nullptr);
}

void CTreeCtrlView::EndDrag(bool drop) {
    HTREEITEM dragged = dragItem_, target = dropTarget_;
    if (dragImage_) {
        ImageList_DragLeave(hwnd_);
        ImageList_EndDrag();
        ImageList_Destroy(dragImage_);
        dragImage_ = nullptr;
    }
    dragItem_ = nullptr;
    dropTarget_ = nullptr;
    KillTimer(hwnd_, kHoverTimer);
    ReleaseCapture();
    TreeView_SelectDropTarget(hwnd_, nullptr);
    if (drop && dragged && target) DropCatalog(dragged, target);
}

bool CTreeCtrlView::DropCatalog(HTREEITEM dragged, HTREEITEM target) {
    if (!frame) return false;
    for (HTREEITEM i = target; i; i = TreeView_GetParent(hwnd_, i))
        if (i == dragged) return false;
    TreeView_Expand(hwnd_, target, TVE_EXPAND);
    if (frame->Ask(LoadResString(IDS_CONFIRM_MOVE_CATALOG), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    const std::string destination = CatalogPath(target) + "\\" + Label(dragged);
    if (PathExists(destination)) return false;
    if (!MoveFolderTree(CatalogPath(dragged), destination)) return false;
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
        case kReEditLabel:
            SetFocus(hwnd_);
            TreeView_EditLabel(hwnd_, reinterpret_cast<HTREEITEM>(lp));
            return 0;
        case WM_MOUSEMOVE:
            if (dragItem_) {
                TVHITTESTINFO hit{};
                hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                if (dragImage_) ImageList_DragShowNolock(FALSE);
                if (HTREEITEM item = TreeView_HitTest(hwnd_, &hit)) {
                    dropTarget_ = item;
                    TreeView_SelectDropTarget(hwnd_, item);
                }
                if (dragImage_) {
                    ImageList_DragShowNolock(TRUE);
                    ImageList_DragMove(hit.pt.x, hit.pt.y);
                }
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
