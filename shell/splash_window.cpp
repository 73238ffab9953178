#include "shell/splash_window.h"

#include "common/message_box.h"
#include "common/paths.h"
#include "common/win/file_system.h"
#include "common/window.h"
#include "res/resource.h"
#include "shell/dib.h"

namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShowMilliseconds = 750;

class CSplashWnd;
bool g_allowed = false;
CSplashWnd* g_splash = nullptr;

// Lives from its creation until its window is destroyed, by the timer, a
// key press, or with its owner.
class CSplashWnd : public Window {
public:
    explicit CSplashWnd(HWND owner) : owner_(owner) {}
    CDib& picture() { return picture_; }
    HWND owner() const { return owner_; }

    bool Create() {
        RegisterWindowClass("ArchivonSplash", 0, nullptr);
        live_ = Window::Create("ArchivonSplash", "", WS_POPUP | WS_VISIBLE, 0, 0, 0, picture_.Width(),
                               picture_.Height(), owner_, nullptr);
        return live_;
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_CREATE: {
                RECT r;
                GetWindowRect(hwnd_, &r);
                const int w = r.right - r.left, h = r.bottom - r.top;
                SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                             (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                SetTimer(hwnd_, kHideTimer, kShowMilliseconds, nullptr);
                return 0;
            }
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(hwnd_, &ps);
                const RECT all{0, 0, picture_.Width(), picture_.Height()};
                picture_.Draw(dc, ClientRect(), all);
                EndPaint(hwnd_, &ps);
                return 0;
            }
            case WM_ERASEBKGND:
                return 1;
            case WM_TIMER:
                if (wp == kHideTimer) {
                    HideSplashScreen();
                    return 0;
                }
                break;
            case WM_DESTROY:
                KillTimer(hwnd_, kHideTimer);
                break;
        }
        return Default(msg, wp, lp);
    }
    void OnDestroyed() override {
        if (g_splash == this) g_splash = nullptr;
        // A window that failed in creation leaves the object to its maker.
        if (live_) delete this;
    }

private:
    HWND owner_;
    bool live_ = false;
    CDib picture_;
};

}  // namespace

void SetSplashAllowed(bool allowed) { g_allowed = allowed; }
bool SplashAllowed() { return g_allowed; }

std::string SplashPicturePath() { return win::ModuleDirectory() + "\\splash.bmp"; }

void ShowSplashScreen(HWND owner, const std::string& picture) {
    if (!g_allowed || g_splash) return;
    win::File file = win::File::Open(picture, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file.valid()) {
        ShowMessageBox(owner, FileErrorText(GetLastError(), picture), "Archivon", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    auto* splash = new CSplashWnd(owner);
    const bool read = splash->picture().Read(file) != 0;
    file.Close();
    if (!read) {
        // A read that failed half-way is dropped without a word; a file that
        // is no usable bitmap is reported.
        if (!splash->picture().readFailed())
            ShowMessageBox(owner, LoadResString(IDS_NO_SPLASH), "Archivon", MB_OK | MB_ICONINFORMATION);
        delete splash;
        return;
    }
    if (!splash->Create()) {
        delete splash;
        return;
    }
    g_splash = splash;
    UpdateWindow(*splash);
}

void HideSplashScreen() {
    if (!g_splash) return;
    HWND owner = g_splash->owner();
    DestroyWindow(*g_splash);  // the window's end deletes the object
    if (owner && IsWindow(owner)) RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool PreTranslateAppMessage(const MSG& msg) {
    if (!g_splash) return false;
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
            HideSplashScreen();
            return true;
        default:
            return false;
    }
}

HWND SplashWindow() { return g_splash ? g_splash->hwnd() : nullptr; }
