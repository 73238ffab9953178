#include "common/window.h"

#include <commctrl.h>

#include "common/window_messages.h"

namespace {

const char kObjectProp[] = "Archivon.Window";

DialogHook& Hook() {
    static DialogHook hook;
    return hook;
}

}  // namespace

void SetDialogHook(DialogHook hook) { Hook() = std::move(hook); }

std::string WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthA(hwnd);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
    const int got = GetWindowTextA(hwnd, s.data(), static_cast<int>(s.size()));
    s.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return s;
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
    if (owned_ && IsWindow(hwnd)) DestroyWindow(hwnd);
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
    owned_ = true;
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

namespace {
// Hands a control's notification or command back to the control's own
// object; true when it took it.
bool Reflect(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        Window* owner = item ? Window::FromHandle(item->hwndItem) : nullptr;
        if (!owner || owner->hwnd() == parent || !owner->ReflectDrawItem(*item)) return false;
        result = TRUE;
        return true;
    }
    if (msg != WM_NOTIFY && !(msg == WM_COMMAND && lp)) return false;
    HWND from = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : reinterpret_cast<HWND>(lp);
    Window* sender = Window::FromHandle(from);
    if (!sender || sender->hwnd() == parent || GetParent(from) != parent) return false;
    return msg == WM_NOTIFY ? sender->ReflectNotify(reinterpret_cast<NMHDR*>(lp), result)
                            : sender->ReflectCommand(HIWORD(wp), result);
}
}  // namespace

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (Reflect(hwnd_, msg, wp, lp, result)) return result;
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

INT_PTR Dialog::Route(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (Reflect(hwnd_, msg, wp, lp, result)) {
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (msg == WM_NCDESTROY) {
        DialogProc(msg, wp, lp);
        RemovePropA(hwnd_, kObjectProp);
        hwnd_ = nullptr;
        OnDestroyed();
        return FALSE;
    }
    return DialogProc(msg, wp, lp);
}

INT_PTR CALLBACK DialogDispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<Dialog*>(Window::FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->Bind(hwnd);
        self->owned_ = true;
    }
    return self ? self->Route(msg, wp, lp) : FALSE;
}

// A page's WM_INITDIALOG carries the sheet's copy of the page description,
// whose lParam is the page object.
INT_PTR CALLBACK PageDispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<Dialog*>(Window::FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(reinterpret_cast<PROPSHEETPAGEA*>(lp)->lParam);
        self->Bind(hwnd);
    }
    return self ? self->Route(msg, wp, lp) : FALSE;
}

void Dialog::RunHookWhenShown() {
    if (Hook()) PostMessageA(hwnd_, WM_RUN_DIALOG_HOOK, 0, 0);
}

INT_PTR Dialog::DialogProc(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: {
            const bool focusDefault = OnInitDialog();
            if (modal_ || hookPending_) RunHookWhenShown();
            hookPending_ = false;
            return focusDefault ? TRUE : FALSE;
        }
        case WM_RUN_DIALOG_HOOK:
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

void PropertyPage::SetModified(bool modified) const {
    if (HWND s = sheet()) SendMessageA(s, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd_), 0);
}

void PropertyPage::CancelToClose() const {
    if (HWND s = sheet()) SendMessageA(s, PSM_CANCELTOCLOSE, 0, 0);
}

INT_PTR PropertyPage::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header->hwndFrom == sheet()) {
            LRESULT result = 0;
            switch (header->code) {
                case PSN_SETACTIVE: OnSetActive(); break;
                case PSN_KILLACTIVE: result = OnKillActive() ? FALSE : TRUE; break;
                case PSN_APPLY: result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID; break;
                case PSN_RESET: OnReset(); break;
                default: return FALSE;
            }
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    // The sheet owns OK and Cancel; a page never ends itself.
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) && !lp) return TRUE;
    return Dialog::DialogProc(msg, wp, lp);
}

INT_PTR PropertySheetDialog::DoModal(HWND owner, int start) {
    std::vector<HPROPSHEETPAGE> handles;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        PropertyPage* page = pages_[i];
        page->modal_ = false;
        // The hook runs on the page shown first.
        page->hookPending_ = static_cast<int>(i) == start;
        PROPSHEETPAGEA psp{};
        psp.dwSize = sizeof psp;
        psp.hInstance = AppInstance();
        psp.pszTemplate = MAKEINTRESOURCEA(page->templateId());
        psp.pfnDlgProc = &PageDispatch;
        psp.lParam = reinterpret_cast<LPARAM>(page);
        HPROPSHEETPAGE h = CreatePropertySheetPageA(&psp);
        if (!h) {
            for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
            return -1;
        }
        handles.push_back(h);
    }
    PROPSHEETHEADERA psh{};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_NOCONTEXTHELP;
    psh.hwndParent = owner;
    psh.hInstance = AppInstance();
    psh.pszCaption = caption_.c_str();
    psh.nPages = static_cast<UINT>(handles.size());
    psh.nStartPage = static_cast<UINT>(start);
    psh.phpage = handles.data();
    return PropertySheetA(&psh);
}
