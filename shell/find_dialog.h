// The modeless Find dialog: each Find Next goes on from the last hit and
// shows the next one by selecting its catalog in the tree and highlighting
// its document in the list; at the end of the tree the dialog stores its
// text and options with its owner and closes. Esc stops a search that runs.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/window.h"
#include "vault/find_engine.h"

class CTreeCtrlView;
class CListCtrlView;
class UiPort;

class CFindDialog : public Dialog {
public:
    // Told the text and options mask of a search that ran to the end.
    using Completed = std::function<void(const std::string& text, std::uint32_t mask)>;

    CFindDialog(CTreeCtrlView& tree, CListCtrlView& list, const vault::VaultContext& vault, UiPort& ui);
    // Shows the dialog with these fields, positioned at the top catalog;
    // false when it could not be made or the tree has no top catalog.
    bool Open(HWND owner, const std::string& text, std::uint32_t mask, Completed completed);
    bool isOpen() const { return hwnd_ != nullptr; }

    // Find Next, as the button does it.
    void FindNext();
    // The tree is about to lose an item: a search standing on it goes on
    // after it.
    void CatalogDeleting(HTREEITEM item);

    const vault::FindState& state() const { return state_; }
    bool searching() const { return searching_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override { FindNext(); }
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ReadFields();
    void ShowHit(const vault::FindHit& hit);
    void MoveOffItem(HWND control, RECT itemRect);

    CTreeCtrlView& tree_;
    CListCtrlView& list_;
    vault::FindEngine engine_;
    vault::FindState state_;
    std::string initialText_;
    std::uint32_t initialMask_ = vault::kInitialFindMask;
    Completed completed_;
    bool searching_ = false;
};

// Where the dialog goes when it covers a found item: beside and below or
// above the item with a 20-pixel margin, towards the larger part of the
// screen, and inside the screen. All in screen coordinates.
RECT PlaceOffItem(const RECT& dialog, const RECT& item, const RECT& screen);
