#include "shell/window.h"

namespace {

const char kObjectProp[] = "Archivon.Window";
constexpr UINT kRunDialogHook = WM_APP + 0x3F0;
HINSTANCE g_instance = nullptr;

DialogHook& Hook() {
    static DialogHook hook;
    return hook;
}

}  // namespace

HINSTANCE AppInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }
void SetDialogHook(DialogHook hook) { Hook() = std::move(hook); }

std::string LoadResString(UINT id) {
    // A string table entry holds at most 4097 characters.
    char buf[4100];
    const int n = LoadStringA(AppInstance(), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

LRESULT CALLBACK WindowDispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = Window::FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self) self->Bind(hwnd);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    return self->Dispatch(msg, wp, lp);
}

Window::~Window() {
    // The derived parts are gone already: detach first, so the window's last
    // messages never reach a half-destroyed object.
    HWND hwnd = hwnd_;
    if (!hwnd) return;
    RemovePropA(hwnd, kObjectProp);
    if (originalProc_) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    hwnd_ = nullptr;
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
}

void Window::Destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

bool Window::RegisterWindowClass(const char* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(AppInstance(), className, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &WindowDispatch;
    wc.hInstance = AppInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

void Window::Bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProp, this);
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y, int w,
                    int h, HWND parent, HMENU menuOrId) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    const bool ours = GetClassInfoExA(AppInstance(), className, &wc) && wc.lpfnWndProc == &WindowDispatch;
    HWND hwnd = CreateWindowExA(exStyle, className, title, style, x, y, w, h, parent, menuOrId, AppInstance(),
                                ours ? this : nullptr);
    if (!hwnd) return false;
    if (!ours) Attach(hwnd);
    return true;
}

bool Window::Attach(HWND hwnd) {
    if (!hwnd) return false;
    Bind(hwnd);
    originalProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowDispatch)));
    return true;
}

std::string Window::Text() const {
    const int n = GetWindowTextLengthA(hwnd_);
    std::string s(n + 1, '\0');
    const int got = GetWindowTextA(hwnd_, s.data(), n + 1);
    s.resize(got > 0 ? got : 0);
    return s;
}

RECT Window::ClientRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) {
    if (originalProc_) return CallWindowProcA(originalProc_, hwnd_, msg, wp, lp);
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT Window::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

bool Window::OnReflectedNotify(NMHDR*, LRESULT&) { return false; }
bool Window::OnReflectedCommand(UINT, LRESULT&) { return false; }

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        Window* sender = FromHandle(header->hwndFrom);
        LRESULT result = 0;
        if (sender && sender != this && GetParent(header->hwndFrom) == hwnd_ &&
            sender->OnReflectedNotify(header, result))
            return result;
    } else if (msg == WM_COMMAND && lp) {
        Window* sender = FromHandle(reinterpret_cast<HWND>(lp));
        LRESULT result = 0;
        if (sender && sender != this && GetParent(reinterpret_cast<HWND>(lp)) == hwnd_ &&
            sender->OnReflectedCommand(HIWORD(wp), result))
            return result;
    }
    if (forwardToParent_ && (msg == WM_NOTIFY || msg == WM_COMMAND || msg == WM_CONTEXTMENU))
        return SendMessageA(GetParent(hwnd_), msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        const LRESULT r = WndProc(msg, wp, lp);
        RemovePropA(hwnd_, kObjectProp);
        if (originalProc_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
        hwnd_ = nullptr;
        originalProc_ = nullptr;
        OnDestroyed();
        return r;
    }
    return WndProc(msg, wp, lp);
}

INT_PTR CALLBACK DialogDispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self = static_cast<Dialog*>(Window::FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->Bind(hwnd);
    }
    if (!self) return FALSE;
    if (msg == WM_NOTIFY || (msg == WM_COMMAND && lp)) {
        // Reflect to the sending control's object first.
        HWND from = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : reinterpret_cast<HWND>(lp);
        Window* sender = Window::FromHandle(from);
        LRESULT result = 0;
        const bool handled = sender && sender != self && GetParent(from) == hwnd &&
                             (msg == WM_NOTIFY ? sender->OnReflectedNotify(reinterpret_cast<NMHDR*>(lp), result)
                                               : sender->OnReflectedCommand(HIWORD(wp), result));
        if (handled) {
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    if (msg == WM_NCDESTROY) {
        self->DialogProc(msg, wp, lp);
        RemovePropA(hwnd, kObjectProp);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
        return FALSE;
    }
    return self->DialogProc(msg, wp, lp);
}

INT_PTR Dialog::DialogProc(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: {
            const bool focusDefault = OnInitDialog();
            if (modal_ && Hook()) PostMessageA(hwnd_, kRunDialogHook, 0, 0);
            return focusDefault ? TRUE : FALSE;
        }
        case kRunDialogHook:
            if (Hook()) Hook()(*this);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                OnOK();
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            break;
    }
    return FALSE;
}

INT_PTR Dialog::DoModal(HWND owner) {
    modal_ = true;
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId_), owner, &DialogDispatch,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
    modal_ = false;
    return CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(templateId_), parent, &DialogDispatch,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

std::string Dialog::ItemText(int id) const {
    HWND item = Item(id);
    const int n = GetWindowTextLengthA(item);
    std::string s(n + 1, '\0');
    const int got = GetWindowTextA(item, s.data(), n + 1);
    s.resize(got > 0 ? got : 0);
    return s;
}
