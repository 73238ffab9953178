#include "shell/list_ctrl_view.h"

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstring>
#include <ctime>

#include "common/paths.h"
#include "common/settings_store.h"
#include "common/ui_port.h"
#include "common/window_messages.h"
#include "res/resource.h"
#include "vault/file_encryption.h"

namespace {

constexpr DWORD kOpenFileBufferSize = 8096;

// Until the main window gives the list its port, nothing reaches the user.
class SilentUi : public UiPort {
public:
    void AddMessage(const std::string&) override {}
    int Ask(const std::string&, UINT, const std::string&) override { return IDNO; }
    void Beep() override {}
    bool BrowseForFolder(const std::string&, std::string&) override { return false; }
    bool AskPassword(std::string&) override { return false; }
    void OpenDocument(const std::string&, const std::string&) override {}
};

SilentUi g_silentUi;

std::string TimeText(std::uint32_t secondsSince1970) {
    const std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm tm{};
    if (localtime_s(&tm, &t) != 0) return {};
    char buf[64];
    return std::strftime(buf, sizeof buf, "%H:%M:%S,%Y-%m-%d", &tm) ? buf : "";
}

}  // namespace

std::vector<std::string> SplitOpenFileSelection(const char* buffer) {
    std::vector<std::string> parts;
    for (const char* p = buffer; *p; p += std::strlen(p) + 1) parts.emplace_back(p);
    if (parts.size() <= 1) return parts;  // one file: its full path
    std::string folder = parts.front();
    if (folder.back() != '\\') folder.push_back('\\');
    std::vector<std::string> files;
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

CListCtrlView::CListCtrlView()
    : docs_(std::make_unique<vault::DocumentList>(vault::VaultContext{}, g_silentUi)), ui_(&g_silentUi) {
    docs_->itemsChanged = [this] { RebuildItems(); };
    docs_->itemChanged = [this](int i) {
        if (hwnd_) ListView_RedrawItems(hwnd_, i, i);
    };
}

CListCtrlView::~CListCtrlView() = default;

void CListCtrlView::Bind(const vault::VaultContext& vault, UiPort& ui) {
    docs_->SetVault(vault);
    SetUi(ui);
}

void CListCtrlView::SetUi(UiPort& ui) {
    ui_ = &ui;
    docs_->SetUi(ui);
}

UiPort& CListCtrlView::Ui() { return *ui_; }

bool CListCtrlView::Create(HWND parent) {
    if (!Window::Create(WC_LISTVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS |
                            LVS_SHAREIMAGELISTS | LVS_OWNERDATA,
                        WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, nullptr))
        return false;
    static const int widths[kColumnCount] = {300, 300, 150, 50, 120, 120, 100, 60, 100};
    for (int i = 0; i < kColumnCount; ++i) {
        std::string title = LoadResString(IDS_COLUMN_FIRST + i);
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = title.data();
        ListView_InsertColumn(hwnd_, i, &col);
    }
    // The system's shared file icons, plus one fixed picture for encrypted
    // documents.
    SHFILEINFOA info{};
    smallIcons_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    HIMAGELIST largeIcons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    if (smallIcons_) {
        HICON lock = LoadIconA(nullptr, MAKEINTRESOURCEA(32518));  // the shield
        if (!lock) lock = LoadIconA(nullptr, IDI_WARNING);
        encryptedIcon_ = ImageList_AddIcon(smallIcons_, lock);
        ListView_SetImageList(hwnd_, smallIcons_, LVSIL_SMALL);
    }
    if (largeIcons) ListView_SetImageList(hwnd_, largeIcons, LVSIL_NORMAL);
    // The list keeps no item states of its own: the highlight is asked for
    // like the cells, so it reads back as any list's does.
    ListView_SetCallbackMask(hwnd_, LVIS_DROPHILITED);
    return true;
}

void CListCtrlView::SettleEdits() {
    // Taking the focus back ends the in-place editor, which then stores the
    // name in the catalog it was typed for.
    if (EditControl()) SetFocus(hwnd_);
    CommitPendingDescription();
}

int CListCtrlView::Refresh() {
    CommitPendingDescription();
    return documents().Refresh();
}

int CListCtrlView::ShowCatalog(const std::string& path) {
    CommitPendingDescription();
    docs_->currentCatalog = path;
    return docs_->Refresh();
}

void CListCtrlView::CommitPendingDescription() {
    // A description being edited names its record by position; store it
    // before the records move, or it would land on another document.
    if (onSettleDescription) onSettleDescription();
}

int CListCtrlView::RecordCount() const { return docs_ ? static_cast<int>(docs_->records.size()) : 0; }

int CListCtrlView::AddFilesToCatalog(const std::vector<std::string>& files, bool move, const std::string& catalog,
                                     bool noRefresh) {
    return documents().AddFilesToCatalog(files, move, catalog, noRefresh);
}

bool CListCtrlView::AddCompanionFile(const std::string& name, std::string& path, const std::string& catalog) {
    return documents().AddCompanionFile(name, path, catalog);
}

void CListCtrlView::CommitDescription(int item, const std::string& text) { documents().SetDescription(item, text); }

HWND CListCtrlView::EditControl() const { return ListView_GetEditControl(hwnd_); }

void CListCtrlView::RebuildItems() {
    if (!hwnd_) return;
    // Item i is record i: the list keeps no copy of its own and asks for
    // every cell it shows, so a large catalog fills at once.
    highlighted_ = -1;
    ListView_DeleteAllItems(hwnd_);
    ListView_SetItemCountEx(hwnd_, RecordCount(), 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

std::vector<int> CListCtrlView::SelectedItems() const {
    std::vector<int> items;
    for (int i = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); i != -1;
         i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED))
        if (i < RecordCount()) items.push_back(i);
    return items;
}

void CListCtrlView::SelectOnly(const std::vector<int>& items) {
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int i : items) ListView_SetItemState(hwnd_, i, LVIS_SELECTED, LVIS_SELECTED);
}

std::string CListCtrlView::CellText(int item, int column) {
    auto& docs = documents();
    if (item < 0 || item >= RecordCount()) return {};
    // Times and size are a cache of the file's status, renewed on display.
    docs.RefreshFileStatus(item);
    const auto& r = docs.records[item];
    switch (column) {
        case 0: return r.name;
        case 1: return r.description;
        case 2: return r.workingFolder;
        case 3: return r.type;
        case 4: return TimeText(r.modified);
        case 5: return TimeText(r.created);
        case 6: return std::to_string(r.size);
        case 7: return r.encoded == 1 ? "Y" : "N";
        case 8: return r.origin;
    }
    return {};
}

void CListCtrlView::HighlightItem(int item) {
    const int old = highlighted_;
    highlighted_ = item >= 0 && item < RecordCount() ? item : -1;
    if (!hwnd_) return;
    if (old >= 0) ListView_RedrawItems(hwnd_, old, old);
    if (highlighted_ >= 0) ListView_RedrawItems(hwnd_, highlighted_, highlighted_);
}

int CListCtrlView::IconOf(int item) {
    const auto& r = documents().records[item];
    if (r.encoded == 1 && encryptedIcon_ >= 0) return encryptedIcon_;
    // The shell's icon lookup dominates painting; most files take the icon
    // of their type, so it is asked once per type. Programs, icons and
    // links carry their own and are asked each time.
    const std::string type = paths::ToUpperAscii(paths::TypeOfPath(r.name));
    const bool ownIcon = !type.empty() && std::string_view(".EXE.ICO.LNK.CUR.ANI.URL.PIF.SCR")
                                                          .find(type) != std::string_view::npos;
    if (!ownIcon) {
        const auto cached = iconOfType_.find(type);
        if (cached != iconOfType_.end()) return cached->second;
    }
    SHFILEINFOA info{};
    const std::string path = currentCatalog() + "\\" + r.name;
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) return 0;
    if (!ownIcon) iconOfType_[type] = info.iIcon;
    return info.iIcon;
}

void CListCtrlView::OnGetDispInfo(NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    if (item.iItem < 0 || item.iItem >= RecordCount()) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = IconOf(item.iItem);
    if (item.mask & LVIF_STATE) {
        item.state &= ~LVIS_DROPHILITED;
        if (item.iItem == highlighted_) item.state |= LVIS_DROPHILITED;
    }
}

bool CListCtrlView::OnEndLabelEdit(NMLVDISPINFOA* info) {
    if (!info->item.pszText) return false;  // cancelled
    const int item = info->item.iItem;
    auto& docs = documents();
    // The records may have been reloaded while the name was typed: rename
    // only the document the edit began on.
    if (docs.currentCatalog != editCatalog_ || item < 0 || item >= static_cast<int>(docs.records.size()) ||
        docs.records[item].name != editName_)
        return false;
    switch (documents().Rename(item, info->item.pszText)) {
        case vault::RenameResult::nameTaken:
            PostMessageA(hwnd_, WM_REEDIT_DOCUMENT_NAME, item, 0);
            return false;
        case vault::RenameResult::renamed:
            ListView_RedrawItems(hwnd_, item, item);
            return false;  // the label comes from the record
        default:
            return false;
    }
}

void CListCtrlView::AddFilesCommand() {
    std::string buffer(kOpenFileBufferSize, '\0');
    // "File Type (*.%s)|*.%s||" with "*" for both, in the dialog's form.
    static const char filter[] = "File Type (*.*)\0*.*\0";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetAncestor(hwnd_, GA_ROOT);
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kOpenFileBufferSize;
    ofn.lpstrTitle = "Select Documents to add";
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return;
    const bool move = ArchivonSettings().GetInt("Config", "IsRemoveSrc", 0) != 0;
    AddFilesToCatalog(SplitOpenFileSelection(buffer.c_str()), move, currentCatalog(), false);
}

void CListCtrlView::EditDescription(int item) {
    if (onEditDescription) onEditDescription(item, documents().records[item].description);
}

bool CListCtrlView::OnCommand(UINT id) {
    auto& docs = documents();
    switch (id) {
        case ID_FILES_ADD:
        case ID_FILES_NEW_NOTE:
        case ID_FILES_ENCRYPT:
        case ID_FILES_OPEN:
        case ID_FILES_RENAME:
        case ID_FILES_DESCRIPTION:
        case ID_FILES_COPY_TO:
        case ID_FILES_SET_WORKING:
        case ID_FILES_OPEN_WORKING:
        case ID_FILES_COPY_TO_WORKING:
        case ID_FILES_CHECK_IN:
        case ID_FILES_CHECK_IN_REMOVE:
        case ID_FILES_DELETE: CommitPendingDescription(); break;
        default: return false;
    }
    switch (id) {
        case ID_FILES_ADD: AddFilesCommand(); return true;
        case ID_FILES_NEW_NOTE: docs.NewNote(); return true;
        case ID_FILES_ENCRYPT: EncryptSelected(); return true;
    }
    const auto selected = SelectedItems();
    if (!docs.RequireSelection(selected)) return true;
    switch (id) {
        case ID_FILES_OPEN: docs.Open(selected); break;
        case ID_FILES_RENAME:
            SetFocus(hwnd_);
            ListView_EditLabel(hwnd_, selected.front());
            break;
        case ID_FILES_DESCRIPTION: EditDescription(selected.front()); break;
        case ID_FILES_COPY_TO: docs.CopyTo(selected); break;
        case ID_FILES_DELETE: docs.Delete(selected); break;
        case ID_FILES_SET_WORKING: docs.SetWorkingFolder(selected); break;
        case ID_FILES_OPEN_WORKING: docs.OpenInWorkingFolder(selected); break;
        case ID_FILES_COPY_TO_WORKING: docs.CopyToWorkingFolder(selected); break;
        case ID_FILES_CHECK_IN: docs.CheckIn(selected, false); break;
        case ID_FILES_CHECK_IN_REMOVE: docs.CheckIn(selected, true); break;
    }
    return true;
}

void CListCtrlView::EncryptSelected() {
    auto& docs = documents();
    const auto selected = SelectedItems();
    std::vector<std::string> names;
    std::vector<int> encoded;
    for (int i : selected) {
        names.push_back(docs.records[i].name);
        encoded.push_back(docs.records[i].encoded);
    }
    if (vault::EncryptDecryptCommand(currentCatalog(), names, encoded, Ui()) == 0) return;
    for (std::size_t k = 0; k < selected.size(); ++k) docs.records[selected[k]].encoded = encoded[k];
    docs.Save();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CListCtrlView::BeginDrag(NMLISTVIEW* info) {
    // A drag starts only when the button is still down a moment later; a
    // button-up already waiting means it was a click.
    Sleep(250);
    MSG msg;
    if (PeekMessageA(&msg, hwnd_, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE) || !dropTarget) return;
    dragging_ = true;
    POINT origin{};
    HIMAGELIST image = ListView_CreateDragImage(hwnd_, info->iItem, &origin);
    POINT pt = info->ptAction;
    const POINT hotspot{pt.x - origin.x, pt.y - origin.y};
    ClientToScreen(hwnd_, &pt);
    dragImage_.Begin(image, hotspot, nullptr, pt);
    SetCapture(hwnd_);
}

void CListCtrlView::TrackDrag(POINT clientPoint) {
    POINT screen = clientPoint;
    ClientToScreen(hwnd_, &screen);
    dragImage_.Move(screen);
    dragImage_.Show(false);
    if (dropTarget) dropTarget->HighlightDropTarget(screen);
    dragImage_.Show(true);
}

void CListCtrlView::EndDrag(bool drop) {
    dragImage_.End();
    dragging_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    const std::string target = dropTarget ? dropTarget->TakeDropTarget() : std::string();
    if (drop && !target.empty()) DropOnCatalog(target);
}

void CListCtrlView::DropOnCatalog(const std::string& catalog) {
    CommitPendingDescription();
    const auto selected = SelectedItems();
    documents().MoveToCatalog(selected, catalog);
}

LRESULT CListCtrlView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_REFRESH_DOCUMENTS:
            Refresh();
            return 0;
        case WM_REEDIT_DOCUMENT_NAME:
            SetFocus(hwnd_);
            ListView_EditLabel(hwnd_, static_cast<int>(wp));
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) {
                TrackDrag({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (dragging_) {
                EndDrag(true);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (dragging_ && reinterpret_cast<HWND>(lp) != hwnd_) EndDrag(false);
            break;
        case WM_NOTIFY: {
            // The header's divider double-click gives that column 50 pixels.
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (header->code == HDN_DIVIDERDBLCLICKA || header->code == HDN_DIVIDERDBLCLICKW) {
                ListView_SetColumnWidth(hwnd_, reinterpret_cast<NMHEADERA*>(lp)->iItem, 50);
                return 0;
            }
            break;
        }
    }
    return Default(msg, wp, lp);
}

bool CListCtrlView::OnReflectedNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
        case LVN_GETDISPINFOA:
            OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(header));
            return true;
        case LVN_BEGINLABELEDITA: {
            const int item = reinterpret_cast<NMLVDISPINFOA*>(header)->item.iItem;
            auto& docs = documents();
            editCatalog_ = docs.currentCatalog;
            editName_ = item >= 0 && item < static_cast<int>(docs.records.size()) ? docs.records[item].name : "";
            result = FALSE;
            return true;
        }
        case LVN_ENDLABELEDITA:
            result = OnEndLabelEdit(reinterpret_cast<NMLVDISPINFOA*>(header)) ? TRUE : FALSE;
            return true;
        case NM_DBLCLK:
            if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0) OnCommand(ID_FILES_OPEN);
            return true;
        case LVN_BEGINDRAG:
            BeginDrag(reinterpret_cast<NMLISTVIEW*>(header));
            return true;
        case NM_RCLICK: {
            auto* act = reinterpret_cast<NMITEMACTIVATE*>(header);
            if (act->iItem < 0) return true;
            POINT pt = act->ptAction;
            ClientToScreen(hwnd_, &pt);
            HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDM_LIST));
            if (menu) {
                // Commands go to the main window, which routes them back here.
                TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0,
                               GetAncestor(hwnd_, GA_ROOT), nullptr);
                DestroyMenu(menu);
            }
            result = TRUE;
            return true;
        }
    }
    return false;
}
