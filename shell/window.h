// Thin window classes over raw Win32: an object owns its HWND, receives its
// messages through a virtual handler, and gets the notifications its own
// control sends to the parent ("reflection"), so a control class keeps its
// logic to itself.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

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

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(hwnd_, msg, wp, lp); }
    std::string Text() const;
    void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
    RECT ClientRect() const;
    void MoveTo(int x, int y, int w, int h, bool repaint = true) const { MoveWindow(hwnd_, x, y, w, h, repaint); }

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // A notification this window's control sent to its parent; return true
    // when handled (result then goes back to the control).
    virtual bool OnReflectedNotify(NMHDR* header, LRESULT& result);
    virtual bool OnReflectedCommand(UINT code, LRESULT& result);
    // Called when the window is gone; the object stays.
    virtual void OnDestroyed() {}
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    // Containers (splitters, pane frames) pass their children's commands,
    // notifications and context-menu requests on to their own parent.
    bool forwardToParent_ = false;

private:
    friend LRESULT CALLBACK WindowDispatch(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK DialogDispatch(HWND, UINT, WPARAM, LPARAM);
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
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    virtual INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp);

private:
    friend INT_PTR CALLBACK DialogDispatch(HWND, UINT, WPARAM, LPARAM);
    int templateId_;
    bool modal_ = false;
};

// Tests install a hook that is called inside each modal dialog's loop, once
// it is shown; it can fill fields and press buttons.
using DialogHook = std::function<void(Dialog& dialog)>;
void SetDialogHook(DialogHook hook);

HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);
std::string LoadResString(UINT id);
