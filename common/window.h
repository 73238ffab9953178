// Thin window classes over raw Win32: an object owns its HWND, receives its
// messages through a virtual handler, and gets the notifications its own
// control sends to the parent ("reflection"), so a control class keeps its
// logic to itself.
#pragma once
#include <windows.h>
#include <prsht.h>

#include <functional>
#include <string>
#include <vector>

#include "common/resources.h"

// The text of any window or control, however long.
std::string WindowText(HWND hwnd);

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // Creates a window of a class registered with RegisterWindowClass (or a
    // system control class, which is then subclassed).
    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                HWND parent, HMENU menuOrId);
    // Takes over an existing window (a control of a dialog): its messages now
    // reach WndProc first.
    bool Attach(HWND hwnd);
    void Destroy();

    // The object behind a window handle, if any.
    static Window* FromHandle(HWND hwnd);
    // Registers a window class whose procedure dispatches to the objects.
    static bool RegisterWindowClass(const char* className, UINT style = CS_DBLCLKS, HBRUSH background = nullptr,
                                    HICON icon = nullptr);

    // A notification or command of this control, handed back by its parent.
    bool ReflectNotify(NMHDR* header, LRESULT& result) { return OnReflectedNotify(header, result); }
    bool ReflectCommand(UINT code, LRESULT& result) { return OnReflectedCommand(code, result); }
    bool ReflectDrawItem(const DRAWITEMSTRUCT& item) { return OnReflectedDrawItem(item); }

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(hwnd_, msg, wp, lp); }
    std::string Text() const { return WindowText(hwnd_); }
    void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
    RECT ClientRect() const;
    void MoveTo(int x, int y, int w, int h, bool repaint = true) const { MoveWindow(hwnd_, x, y, w, h, repaint); }

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // A notification this window's control sent to its parent; return true
    // when handled (result then goes back to the control).
    virtual bool OnReflectedNotify(NMHDR* header, LRESULT& result);
    virtual bool OnReflectedCommand(UINT code, LRESULT& result);
    // An owner-drawn control draws its own items.
    virtual bool OnReflectedDrawItem(const DRAWITEMSTRUCT&) { return false; }
    // Called when the window is gone; the object stays.
    virtual void OnDestroyed() {}
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    // Created by this object (else only attached to): destroyed with it.
    bool owned_ = false;
    // Containers (splitters, pane frames) pass their children's commands,
    // notifications and context-menu requests on to their own parent.
    bool forwardToParent_ = false;

private:
    friend LRESULT CALLBACK WindowDispatch(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK DialogDispatch(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK PageDispatch(HWND, UINT, WPARAM, LPARAM);
    friend class Dialog;
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void Bind(HWND hwnd);
    WNDPROC originalProc_ = nullptr;
};

// A dialog from a resource template, modal or modeless (child pages).
class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    // Modal: runs through the dialog factory, so tests can answer it.
    INT_PTR DoModal(HWND owner);
    bool CreateModeless(HWND parent);
    void End(INT_PTR result);
    int templateId() const { return templateId_; }
    bool modal() const { return modal_; }

    // The dialog's controls by id.
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const { return WindowText(Item(id)); }
    void SetItemText(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) const {
        CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    void EnableItem(int id, bool enable) const { EnableWindow(Item(id), enable ? TRUE : FALSE); }
    void ShowItem(int id, bool show) const { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    virtual INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp);

    // Runs the test hook once the dialog is shown (modal dialogs and the
    // first page of a modal sheet).
    void RunHookWhenShown();

private:
    friend INT_PTR CALLBACK DialogDispatch(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK PageDispatch(HWND, UINT, WPARAM, LPARAM);
    friend class PropertySheetDialog;
    INT_PTR Route(UINT msg, WPARAM wp, LPARAM lp);
    int templateId_;
    bool modal_ = false;
    bool hookPending_ = false;
};

// A page of a property sheet, from a dialog template. When the sheet ends
// with OK or Close, or Apply is pressed, every page that was shown stores
// its values in OnApply; a page that refuses keeps the sheet open on itself.
class PropertyPage : public Dialog {
public:
    explicit PropertyPage(int templateId) : Dialog(templateId) {}
    bool shown() const { return hwnd_ != nullptr; }
    HWND sheet() const { return hwnd_ ? GetParent(hwnd_) : nullptr; }
    // Enables the sheet's Apply button for this page.
    void SetModified(bool modified = true) const;
    // From now on the sheet's changes cannot be cancelled: Cancel is
    // disabled and OK reads "Close".
    void CancelToClose() const;

protected:
    // Checks the values before another page is shown or the sheet applies;
    // false keeps this page (it has told the user why).
    virtual bool OnKillActive() { return true; }
    // Stores the values; false keeps the sheet open and shows this page.
    virtual bool OnApply() { return true; }
    virtual void OnSetActive() {}
    virtual void OnReset() {}
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    friend class PropertySheetDialog;
};

// A modal property sheet of PropertyPage objects.
class PropertySheetDialog {
public:
    explicit PropertySheetDialog(std::string caption) : caption_(std::move(caption)) {}
    virtual ~PropertySheetDialog() = default;
    void AddPage(PropertyPage& page) { pages_.push_back(&page); }
    // Shows the sheet at page `start`. Answers as PropertySheetA: positive
    // when it ended with OK or Close, 0 when cancelled, -1 on failure.
    INT_PTR DoModal(HWND owner, int start = 0);
    const std::vector<PropertyPage*>& pages() const { return pages_; }

private:
    std::string caption_;
    std::vector<PropertyPage*> pages_;
};

// Tests install a hook that is called inside each modal dialog's loop, once
// it is shown; it can fill fields and press buttons.
using DialogHook = std::function<void(Dialog& dialog)>;
void SetDialogHook(DialogHook hook);
