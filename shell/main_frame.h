// The one top-level window of Archivon: menu, toolbar, status bar and two
// rows of panes (catalog tree and document list above, the tabbed pane
// below). It is also the user-interface port through which services talk.
#pragma once
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "common/ui_port.h"
#include "jobs/job_manager.h"
#include "shell/archivon_doc.h"
#include "shell/edit_ctrl_view.h"
#include "shell/find_dialog.h"
#include "shell/panes.h"
#include "shell/splitter.h"
#include "shell/system_tray.h"
#include "vault/catalog_service.h"
#include "vault/vault_context.h"

class CMainFrame : public Window, public UiPort {
public:
    // The vault as the settings name it now.
    CMainFrame();
    explicit CMainFrame(const vault::VaultContext& vault);
    ~CMainFrame() override;
    // Builds the window with its panes and bars; false when any part fails.
    bool Create();

    void ShowCurrentCatalog();
    void AddFilesToCurrentCatalog(const std::vector<std::string>& files);
    void ShowContextMenu(int menuId, POINT screenPoint);
    bool PreTranslate(MSG& msg);
    // Asked before the window closes: true while a download still
    // transfers, which refuses the close with string 160. The job manager
    // answers it; unset, closing is always allowed.
    std::function<bool()> transfersRunning;
    // The close check: false (after telling the user) when the window must
    // stay open.
    bool MayClose();

    // UiPort
    void AddMessage(const std::string& text) override;
    int Ask(const std::string& text, UINT type, const std::string& caption = "Archivon") override;
    void Beep() override;
    bool BrowseForFolder(const std::string& title, std::string& folder) override;
    bool AskPassword(std::string& password) override;
    void OpenDocument(const std::string& path, const std::string& workingFolder) override;
    bool EditJob(JobDialogFields& fields) override;

    CTreeCtrlView* tree() { return tree_; }
    CListCtrlView* list() { return list_; }
    CEditCtrlView* bottom() { return bottom_; }
    JobManager* jobManager() { return jobManager_.get(); }
    const SplitterWindow& rows() const { return rows_; }
    const vault::VaultContext& vault() const { return vault_; }
    CTopPaneFrame& topPane() { return top_; }
    HWND statusBar() const { return status_; }
    HWND toolBar() const { return toolbar_; }
    CSystemTray& tray() { return tray_; }
    int beepCount() const { return beeps_; }
    // The Find dialog (null until first opened) and what the last search
    // that ran to the end looked for.
    CFindDialog* findDialog() { return find_.get(); }
    const std::string& lastFindText() const { return lastFindText_; }
    std::uint32_t lastFindMask() const { return lastFindMask_; }

    static constexpr int kStatusCatalogPane = 1;

    // The job file the download jobs are kept in; set before Create.
    std::string jobFilePath;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool BuildPanes();
    void ConnectPanes();
    bool CreateToolBar();
    bool CreateStatusBar();
    bool CreateTray();
    void SetCatalogPaneText(const std::string& text);
    int Scaled(int pixels) const;
    void ShowHelp();
    void LayoutBars();
    void OnSize(int clientHeight);
    void OnCommand(UINT id);
    void EditCommand(UINT message);
    void OnDropFiles(HDROP drop);
    void OpenFind();
    void CheckIntegrity();
    void ShowPrompt(UINT id);
    void UpdateKeyIndicators();
    void ShowAbout();
    void EnableDownloadCommands(HMENU popup);

    vault::VaultContext vault_;
    vault::CatalogService catalogs_;
    SplitterWindow rows_;
    CTopPaneFrame top_;
    CEditCtrlView bottomPane_;
    // Declared after the panes whose jobs and documents it works on, so it
    // goes first.
    std::unique_ptr<JobManager> jobManager_;
    // Null until the panes are built; the size rule acts only then.
    CListCtrlView* list_ = nullptr;
    CTreeCtrlView* tree_ = nullptr;
    CEditCtrlView* bottom_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND status_ = nullptr;
    CSystemTray tray_;
    HACCEL accelerators_ = nullptr;
    int beeps_ = 0;
    bool created_ = false;
    // Answers the settings commands.
    CArchivonDoc document_{*this};
    std::unique_ptr<CFindDialog> find_;
    std::string lastFindText_;
    std::uint32_t lastFindMask_ = vault::kInitialFindMask;
};
