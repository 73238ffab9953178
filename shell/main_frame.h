// The one top-level window of Archivon: menu, toolbar, status bar and two
// rows of panes (catalog tree and document list above, the tabbed pane
// below). It is also the user-interface port through which services talk.
#pragma once
#include <string>
#include <vector>

#include "common/ui_port.h"
#include "shell/edit_ctrl_view.h"
#include "shell/find_dialog.h"
#include "shell/panes.h"
#include "shell/splitter.h"
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

    // UiPort
    void AddMessage(const std::string& text) override;
    int Ask(const std::string& text, UINT type, const std::string& caption = "Archivon") override;
    void Beep() override;
    bool BrowseForFolder(const std::string& title, std::string& folder) override;
    bool AskPassword(std::string& password) override;
    void OpenDocument(const std::string& path) override;

    CTreeCtrlView* tree() { return tree_; }
    CListCtrlView* list() { return list_; }
    CEditCtrlView* bottom() { return bottom_; }
    const SplitterWindow& rows() const { return rows_; }
    const vault::VaultContext& vault() const { return vault_; }
    CTopPaneFrame& topPane() { return top_; }
    HWND statusBar() const { return status_; }
    HWND toolBar() const { return toolbar_; }
    int beepCount() const { return beeps_; }
    // The Find dialog (null until first opened) and what the last search
    // that ran to the end looked for.
    CFindDialog* findDialog() { return find_.get(); }
    const std::string& lastFindText() const { return lastFindText_; }
    std::uint32_t lastFindMask() const { return lastFindMask_; }

    static constexpr int kStatusCatalogPane = 1;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool BuildPanes();
    void ConnectPanes();
    bool CreateToolBar();
    bool CreateStatusBar();
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

    vault::VaultContext vault_;
    vault::CatalogService catalogs_;
    SplitterWindow rows_;
    CTopPaneFrame top_;
    CEditCtrlView bottomPane_;
    // Null until the panes are built; the size rule acts only then.
    CListCtrlView* list_ = nullptr;
    CTreeCtrlView* tree_ = nullptr;
    CEditCtrlView* bottom_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND status_ = nullptr;
    HACCEL accelerators_ = nullptr;
    int beeps_ = 0;
    bool created_ = false;
    std::unique_ptr<CFindDialog> find_;
    std::string lastFindText_;
    std::uint32_t lastFindMask_ = vault::kInitialFindMask;
};
