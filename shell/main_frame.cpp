#include "shell/main_frame.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/browse_folder.h"
#include "common/message_box.h"
#include "common/open_url.h"
#include "common/paths.h"
#include "common/settings_store.h"
#include "common/wait_cursor.h"
#include "common/win/file_system.h"
#include "common/window_messages.h"
#include "res/resource.h"
#include "shell/about_dialog.h"
#include "shell/busy_pump.h"
#include "shell/handoff_receiver.h"
#include "shell/job_dialog.h"
#include "shell/password_dialog.h"
#include "shell/splash_window.h"
#include "shell/tree_catalog_walk.h"
#include "vault/catalog_paths.h"
#include "vault/integrity_check.h"

namespace {

const UINT kToolbarCommands[] = {ID_CATALOG_ADD,      ID_CATALOG_DELETE,        0,
                                 ID_EDIT_FIND,        ID_EDIT_CUT,              ID_EDIT_COPY,
                                 ID_EDIT_PASTE,       0,                        ID_FILES_ADD,
                                 ID_FILES_NEW_NOTE,   ID_FILES_OPEN,            ID_FILES_OPEN_WORKING,
                                 ID_FILES_COPY_TO_WORKING, ID_FILES_CHECK_IN,   ID_FILES_CHECK_IN_REMOVE,
                                 ID_FILES_DESCRIPTION, ID_FILES_ENCRYPT,        ID_FILES_DELETE};
constexpr UINT_PTR kIndicatorTimer = 1;

// The part of a command's prompt before (status bar) or after (tool tip) "\n".
std::string PromptPart(UINT id, bool tip) {
    const std::string s = LoadResString(id);
    const auto nl = s.find('\n');
    if (nl == std::string::npos) return tip ? std::string() : s;
    return tip ? s.substr(nl + 1) : s.substr(0, nl);
}

std::string FirstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

}  // namespace

CMainFrame::CMainFrame() : CMainFrame(vault::LoadVaultContext(ArchivonSettings(), win::ModuleDirectory())) {}

CMainFrame::CMainFrame(const vault::VaultContext& vault)
    : jobFilePath(paths::JobFilePathFor(win::ModuleFileName())), vault_(vault), catalogs_(vault_, *this),
      rows_(SplitterWindow::Split::Rows) {}

CMainFrame::~CMainFrame() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool CMainFrame::Create() {
    HICON icon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_ARCHIVON));
    RegisterWindowClass("ArchivonMainFrame", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    accelerators_ = LoadAcceleratorsA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    const std::string title = FirstLine(LoadResString(IDR_MAINFRAME));
    if (!Window::Create("ArchivonMainFrame", title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                        CW_USEDEFAULT, CW_USEDEFAULT, 900, 650, nullptr, menu)) {
        if (menu && IsMenu(menu)) DestroyMenu(menu);
        return false;
    }
    // Centre on the screen.
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (ArchivonSettings().GetInt("Config", "DisplaySplash", 1) != 0) ShowSplashScreen(hwnd_);
    return true;
}

bool CMainFrame::BuildPanes() {
    if (!rows_.Create(hwnd_, 1)) return false;
    const RECT client = ClientRect();
    rows_.MoveTo(0, 0, client.right, client.bottom, false);
    rows_.SetPaneSize(0, (client.bottom / 3) * 2);
    if (!top_.Create(rows_) || !bottomPane_.Create(rows_)) return false;
    rows_.SetPanes(top_, bottomPane_);
    CSplitterView& view = top_.view();
    list_ = &view.list();
    tree_ = &view.tree();
    bottom_ = &bottomPane_;
    ConnectPanes();
    tree_->Fill();
    list_->ShowCatalog(vault_.root);
    CJobsView& jobs = bottom_->jobsView();
    jobManager_ = std::make_unique<JobManager>(jobs.jobs(), jobs, *this, list_->documents());
    jobManager_->SetNotifyWindow(hwnd_);
    jobManager_->SetJobFilePath(jobFilePath);
    jobManager_->Load();
    transfersRunning = [this] { return jobManager_->TransfersRunning(); };
    rows_.RecalcLayout();
    return true;
}

// The panes do not know each other: what one announces, the frame passes on.
void CMainFrame::ConnectPanes() {
    tree_->Bind(catalogs_, *this);
    list_->Bind(vault_, *this);
    list_->dropTarget = tree_;
    tree_->onItemDeleting = [this](HTREEITEM item) {
        if (find_ && find_->isOpen()) find_->CatalogDeleting(item);
    };
    tree_->onLeavingCatalog = [this] { list_->SettleEdits(); };
    tree_->onCatalogChanged = [this](const std::string& path) {
        list_->ShowCatalog(path);
        ShowCurrentCatalog();
    };
    tree_->onCatalogRenamed = [this](const std::string& path) {
        list_->SetCurrentCatalog(path);
        ShowCurrentCatalog();
    };
    tree_->onSetupWorkingFolders = [this](const std::vector<std::string>& catalogs) {
        list_->documents().SetWorkingFolders(catalogs);
    };
    tree_->onCheckInCatalogs = [this](const std::vector<std::string>& catalogs, bool remove) {
        list_->documents().CheckInCatalogs(catalogs, remove);
    };
    list_->onSettleDescription = [this] { bottom_->descriptions().Commit(); };
    bottom_->jobsView().onShowJobsTab = [this] { bottom_->SelectTab(1); };
    list_->onEditDescription = [this](int item, const std::string& text) {
        bottom_->SelectTab(2);
        bottom_->descriptions().Begin(item, text,
                                      [this](int i, const std::string& t) { list_->CommitDescription(i, t); });
    };
}

bool CMainFrame::CreateToolBar() {
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                               hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDR_MAINFRAME)), AppInstance(),
                               nullptr);
    if (!toolbar_) return false;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(32, 32));
    TBADDBITMAP bitmap{AppInstance(), IDB_TOOLBAR};
    SendMessageA(toolbar_, TB_ADDBITMAP, 16, reinterpret_cast<LPARAM>(&bitmap));
    TBBUTTON buttons[std::size(kToolbarCommands)] = {};
    int image = 0;
    for (std::size_t i = 0; i < std::size(kToolbarCommands); ++i) {
        buttons[i].idCommand = static_cast<int>(kToolbarCommands[i]);
        buttons[i].fsStyle = kToolbarCommands[i] ? BTNS_BUTTON : BTNS_SEP;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].iBitmap = kToolbarCommands[i] ? image++ : 6;
    }
    SendMessageA(toolbar_, TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    return true;
}

bool CMainFrame::CreateStatusBar() {
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                              nullptr, AppInstance(), nullptr);
    if (!status_) return false;
    LayoutBars();  // the panes must exist before their texts are set
    SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready"));
    SetCatalogPaneText(LoadResString(IDS_STATUS_CATALOG));
    SetTimer(hwnd_, kIndicatorTimer, 500, nullptr);
    return true;
}

void CMainFrame::LayoutBars() {
    if (toolbar_) SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    if (!status_) return;
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT r;
    GetClientRect(status_, &r);
    // Message pane, the stretching catalog pane (200 at least), then the
    // three key indicators.
    const int indicator = Scaled(40), message = Scaled(220);
    int catalog = r.right - message - 3 * indicator;
    if (catalog < Scaled(200)) catalog = Scaled(200);
    int edges[5];
    edges[0] = message;
    edges[1] = edges[0] + catalog;
    edges[2] = edges[1] + indicator;
    edges[3] = edges[2] + indicator;
    edges[4] = -1;
    SendMessageA(status_, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(edges));
}

void CMainFrame::OnSize(int clientHeight) {
    LayoutBars();
    const RECT client = ClientRect();
    int top = 0, bottom = client.bottom;
    RECT r;
    if (toolbar_ && GetWindowRect(toolbar_, &r)) top = r.bottom - r.top;
    if (status_ && GetWindowRect(status_, &r)) bottom -= r.bottom - r.top;
    if (!bottom_) return;
    rows_.MoveTo(0, top, client.right, bottom - top > 0 ? bottom - top : 0, false);
    // The rows take 618 and 382 thousandths of the whole client height;
    // the lower row gets what the bars leave of its share.
    rows_.SetPaneSize(0, clientHeight * 618 / 1000);
    rows_.SetPaneSize(1, clientHeight * 382 / 1000);
    rows_.RecalcLayout();
    InvalidateRect(rows_, nullptr, TRUE);
}

void CMainFrame::UpdateKeyIndicators() {
    if (!status_) return;
    const struct {
        int key;
        UINT id;
    } keys[] = {{VK_CAPITAL, ID_INDICATOR_CAPS}, {VK_NUMLOCK, ID_INDICATOR_NUM}, {VK_SCROLL, ID_INDICATOR_SCRL}};
    for (int i = 0; i < 3; ++i) {
        const std::string text = (GetKeyState(keys[i].key) & 1) ? LoadResString(keys[i].id) : "";
        char current[16] = {};
        if (LOWORD(SendMessageA(status_, SB_GETTEXTLENGTHA, 2 + i, 0)) < sizeof current)
            SendMessageA(status_, SB_GETTEXTA, 2 + i, reinterpret_cast<LPARAM>(current));
        if (text != current) SendMessageA(status_, SB_SETTEXTA, 2 + i, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void CMainFrame::ShowCurrentCatalog() {
    if (!status_ || !list_) return;
    SetCatalogPaneText(vault::RelativeCatalogPath(list_->currentCatalog(), vault_.root));
}

// The catalog pane is drawn raised.
void CMainFrame::SetCatalogPaneText(const std::string& text) {
    SendMessageA(status_, SB_SETTEXTA, kStatusCatalogPane | SBT_POPOUT, reinterpret_cast<LPARAM>(text.c_str()));
}

// Pixels at 96 dots per inch, for the monitor the window is on.
int CMainFrame::Scaled(int pixels) const {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = dpiForWindow && hwnd_ ? dpiForWindow(hwnd_) : 0;
    if (!dpi) {
        HDC screen = GetDC(nullptr);
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return MulDiv(pixels, static_cast<int>(dpi ? dpi : 96), 96);
}

bool CMainFrame::CreateTray() {
    HICON icon = static_cast<HICON>(LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDI_ARCHIVON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    if (!tray_.Create(nullptr, WM_TRAY_NOTIFY, "Archivon", icon, IDM_TRAY)) return false;
    tray_.SetMainWindow(hwnd_);
    return tray_.SetMenuDefaultItem(0, true);
}

bool CMainFrame::MayClose() {
    if (transfersRunning && transfersRunning()) {
        ShowMessageBox(hwnd_, LoadResString(IDS_JOBS_RUNNING), "Archivon", MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}

// The help page beside the program, named like it, opened in the browser
// at the topic of context 11.
void CMainFrame::ShowHelp() {
    const std::string page = paths::HelpFilePathFor(win::ModuleFileName());
    if (!win::PathExists(page)) {
        ShowMessageBox(hwnd_, FileErrorText(ERROR_FILE_NOT_FOUND, page), "Archivon", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    OpenUrl(paths::FileUrl(page, "context-11"), SW_SHOWNORMAL);
}

void CMainFrame::AddFilesToCurrentCatalog(const std::vector<std::string>& files) {
    if (!list_) return;
    const bool move = ArchivonSettings().GetInt("Config", "IsRemoveSrc", 0) != 0;
    list_->AddFilesToCatalog(files, move, list_->currentCatalog(), false);
}

void CMainFrame::ShowContextMenu(int menuId, POINT screenPoint) {
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId));
    if (!menu) return;
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, hwnd_,
                   nullptr);
    DestroyMenu(menu);
}

bool CMainFrame::PreTranslate(MSG& msg) {
    // The modeless Find dialog has its keys first (Tab, Enter, Esc).
    if (find_ && find_->isOpen() && (msg.hwnd == find_->hwnd() || IsChild(find_->hwnd(), msg.hwnd)))
        return IsDialogMessageA(find_->hwnd(), &msg) != FALSE;
    return accelerators_ && hwnd_ && TranslateAcceleratorA(hwnd_, accelerators_, &msg);
}

void CMainFrame::EditCommand(UINT message) {
    HWND target = nullptr;
    if (list_ && list_->EditControl())
        target = list_->EditControl();
    else if (tree_ && tree_->EditControl())
        target = tree_->EditControl();
    else if (bottom_ && bottom_->currentTab() == 2)
        target = bottom_->DescriptionsEdit();
    if (target) SendMessageA(target, message, 0, 0);
}

void CMainFrame::OnDropFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT n = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(n + 1, '\0');
        DragQueryFileA(drop, i, path.data(), n + 1);
        path.resize(n);
        files.push_back(path);
    }
    DragFinish(drop);
    AddFilesToCurrentCatalog(files);
}

void CMainFrame::OpenFind() {
    if (!tree_ || !list_) return;
    if (find_ && find_->isOpen()) {
        SetActiveWindow(find_->hwnd());
        return;
    }
    find_ = std::make_unique<CFindDialog>(*tree_, *list_, vault_, *this);
    find_->Open(hwnd_, lastFindText_, lastFindMask_, [this](const std::string& text, std::uint32_t mask) {
        lastFindText_ = text;
        lastFindMask_ = mask;
    });
}

void CMainFrame::CheckIntegrity() {
    if (!tree_ || !list_) return;
    WaitCursor wait;
    // An edit in progress is stored first: the check may rewrite the index
    // of the shown catalog.
    list_->SettleEdits();
    // A large vault takes a while: the window keeps painting and Esc stops.
    BusyPump pump;
    vault::CheckIntegrity(
        TreeCatalogWalk(*tree_), vault_, *this,
        [this](const std::string& catalog) {
            if (catalog == list_->currentCatalog()) list_->Refresh();
        },
        [&pump] { return pump.KeepGoing(); });
}

void CMainFrame::ShowPrompt(UINT id) {
    if (!status_) return;
    const std::string text = id ? PromptPart(id, false) : "Ready";
    SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainFrame::ShowAbout() {
    CAboutDialog about;
    about.DoModal(hwnd_);
}

void CMainFrame::EnableDownloadCommands(HMENU popup) {
    if (!jobManager_) return;
    for (int i = 0, n = GetMenuItemCount(popup); i < n; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (JobManager::IsDownloadCommand(id))
            EnableMenuItem(popup, id, MF_BYCOMMAND | (jobManager_->IsEnabled(id) ? MF_ENABLED : MF_GRAYED));
    }
}

void CMainFrame::OnCommand(UINT id) {
    if (document_.OnCommand(id, hwnd_)) return;
    switch (id) {
        case ID_EDIT_FIND: OpenFind(); break;
        case ID_INTEGRITY_CHECK: CheckIntegrity(); break;
        case ID_CATALOG_ADD: if (tree_) tree_->AddCatalog(); break;
        case ID_CATALOG_RENAME: if (tree_) tree_->RenameCatalog(); break;
        case ID_CATALOG_DELETE: if (tree_) tree_->DeleteCatalog(); break;
        case ID_CATALOG_SETUP_WORKING: if (tree_) tree_->SetupWorkingFolders(); break;
        case ID_CATALOG_CHECKIN_RECURSIVE: if (tree_) tree_->CheckInSubtree(false); break;
        case ID_CATALOG_CHECKIN_CLEAR: if (tree_) tree_->CheckInSubtree(true); break;
        case ID_EDIT_CUT: EditCommand(WM_CUT); break;
        case ID_EDIT_COPY: EditCommand(WM_COPY); break;
        case ID_EDIT_PASTE: EditCommand(WM_PASTE); break;
        case ID_EDIT_UNDO: EditCommand(WM_UNDO); break;
        case ID_SHOW_ARCHIVON: ShowWindow(hwnd_, SW_SHOWMAXIMIZED); break;
        case ID_APP_ABOUT: ShowAbout(); break;
        case ID_APP_EXIT: PostMessageA(hwnd_, WM_CLOSE, 0, 0); break;
        case ID_HELP_CONTENT: ShowHelp(); break;
        case ID_VISIT_WEB_SITE:
        case ID_CHECK_LATEST_VERSION: {
            const std::string url = LoadResString(id == ID_VISIT_WEB_SITE ? IDS_HOME_PAGE : IDS_LATEST_VERSION_PAGE);
            OpenUrl(url, SW_SHOWNORMAL);
            break;
        }
        case ID_NEXT_PANE:
        case ID_PREV_PANE: {
            HWND order[] = {tree_ ? tree_->hwnd() : nullptr, list_ ? list_->hwnd() : nullptr,
                            bottom_ ? bottom_->tab() : nullptr};
            HWND focus = GetFocus();
            int at = 0;
            for (int i = 0; i < 3; ++i)
                if (order[i] && (focus == order[i] || IsChild(order[i], focus))) at = i;
            const int next = (at + (id == ID_NEXT_PANE ? 1 : 2)) % 3;
            if (order[next]) SetFocus(order[next]);
            break;
        }
        default:
            if (jobManager_ && JobManager::IsDownloadCommand(id))
                jobManager_->OnCommand(id);
            else if (list_)
                list_->OnCommand(id);
            break;
    }
}

LRESULT CMainFrame::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            if (!BuildPanes() || !CreateToolBar() || !CreateTray() || !CreateStatusBar()) return -1;
            DragAcceptFiles(hwnd_, TRUE);
            created_ = true;
            return 0;
        case WM_SIZE:
            OnSize(HIWORD(lp));
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wp));
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (header->code == TBN_HOTITEMCHANGE && header->hwndFrom == toolbar_) {
                // Fly-by prompt of the button under the pointer.
                const auto* hot = reinterpret_cast<NMTBHOTITEM*>(lp);
                ShowPrompt((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot->idNew));
                return 0;
            }
            if (header->code == TTN_GETDISPINFOA) {
                static std::string tip;
                tip = PromptPart(static_cast<UINT>(header->idFrom), true);
                reinterpret_cast<NMTTDISPINFOA*>(lp)->lpszText = tip.data();
                return 0;
            }
            if (header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
                const std::string text = PromptPart(static_cast<UINT>(header->idFrom), true);
                MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, info->szText, std::size(info->szText));
                info->lpszText = info->szText;
                return 0;
            }
            break;
        }
        case WM_MENUSELECT:
            ShowPrompt(HIWORD(wp) == 0xFFFF && !lp ? 0 : ((HIWORD(wp) & MF_POPUP) ? 0 : LOWORD(wp)));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wp));
            return 0;
        case WM_CONTEXTMENU: {
            POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            RECT r;
            if (tree_ && GetWindowRect(*tree_, &r) && PtInRect(&r, pt)) ShowContextMenu(IDM_TREE, pt);
            return 0;
        }
        case WM_TIMER:
            if (wp == kIndicatorTimer) UpdateKeyIndicators();
            return 0;
        case WM_CLOSE:
            if (MayClose()) {
                if (jobManager_) jobManager_->Close();
                DestroyWindow(hwnd_);
            }
            return 0;
        case WM_INITMENUPOPUP:
            EnableDownloadCommands(reinterpret_cast<HMENU>(wp));
            return 0;
        case jobProgress:
            if (jobManager_) jobManager_->OnJobProgress(reinterpret_cast<DownloadJob*>(lp));
            return 0;
        case jobEnded:
            if (jobManager_) jobManager_->OnJobEnded(reinterpret_cast<DownloadJob*>(lp));
            return 0;
        case WM_COPYDATA:
            return ReceiveHandoff(hwnd_, reinterpret_cast<const COPYDATASTRUCT*>(lp));
        case WM_ADD_DOWNLOAD_REQUEST:
            OnAddDownloadRequest(*this, lp);
            return 0;
        case WM_ADD_FILES_REQUEST:
            OnAddFilesRequest(*this, lp);
            return 0;
        case WM_PAGE_STORED:
            OnPageStored(*this, wp, lp);
            return 0;
        case WM_DPICHANGED: {
            // Moved to a monitor of another density: take the size offered.
            const auto* r = reinterpret_cast<const RECT*>(lp);
            SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(hwnd_, kIndicatorTimer);
            tray_.Remove();
            // A frame that failed in creation must not end the loop of the
            // message box that reports the failure.
            if (created_) PostQuitMessage(0);
            return 0;
    }
    return Default(msg, wp, lp);
}

void CMainFrame::AddMessage(const std::string& text) {
    if (bottom_) bottom_->AddMessage(text);
}

int CMainFrame::Ask(const std::string& text, UINT type, const std::string& caption) {
    return ShowMessageBox(hwnd_, text, caption, type);
}

void CMainFrame::Beep() {
    ++beeps_;
    ::Beep(400, 200);
}

bool CMainFrame::BrowseForFolder(const std::string& title, std::string& folder) {
    // Owned by the main window, so nothing can change the records the
    // command is about while the chooser is open.
    return BrowseForFolderDialog(hwnd_, title, folder);
}

bool CMainFrame::AskPassword(std::string& password) { return AskPasswordDialog(hwnd_, password); }

bool CMainFrame::EditJob(JobDialogFields& fields) {
    JobDialog dialog(fields);
    if (dialog.DoModal(hwnd_) != IDOK) return false;
    fields = dialog.fields();
    return true;
}

void CMainFrame::OpenDocument(const std::string& path, const std::string& workingFolder) {
    ShellExecuteA(hwnd_, "open", path.c_str(), nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(),
                  SW_SHOWNORMAL);
}
