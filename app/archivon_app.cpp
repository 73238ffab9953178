#include <winsock2.h>

#include "app/archivon_app.h"
#include <commctrl.h>

#include "app/app_rules.h"
#include "common/code_page.h"
#include "common/message_box.h"
#include "common/paths.h"
#include "common/settings_store.h"
#include "common/win/file_system.h"
#include "res/resource.h"
#include "shell/main_frame.h"
#include "shell/splash_window.h"

namespace {
CArchivonApp* g_app = nullptr;
constexpr char kTitlePrefix[] = "Archivon ver";
}  // namespace

CArchivonApp::CArchivonApp(HINSTANCE instance) : instance_(instance) {
    g_app = this;
    SetAppInstance(instance);
}

CArchivonApp::~CArchivonApp() {
    frame_.reset();
    if (g_app == this) g_app = nullptr;
}

CArchivonApp* CArchivonApp::Instance() { return g_app; }

namespace {
struct FindState {
    HWND own;
    HWND found;
};

BOOL CALLBACK FindOtherInstance(HWND hwnd, LPARAM lp) {
    auto* state = reinterpret_cast<FindState*>(lp);
    if (hwnd == state->own) return TRUE;
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::string(title).rfind(kTitlePrefix, 0) == 0) {
        state->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

bool BringFirstInstanceForward(HWND own) {
    FindState state{own, nullptr};
    EnumWindows(&FindOtherInstance, reinterpret_cast<LPARAM>(&state));
    if (!state.found) return false;
    if (IsIconic(state.found)) ShowWindow(state.found, SW_RESTORE);
    HWND popup = GetLastActivePopup(state.found);
    SetForegroundWindow(popup ? popup : state.found);
    return true;
}

bool CArchivonApp::AnotherInstanceRuns() {
    const std::string name = paths::FileNamePart(win::ModuleFileName());
    bool existed = false;
    instanceMutex_.CreateNamed(name, true, existed);
    const DWORD wait = instanceMutex_.get() ? WaitForSingleObject(instanceMutex_.get(), 100) : WAIT_FAILED;
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED || (wait != WAIT_TIMEOUT && !existed)) return false;
    BringFirstInstanceForward(frame_ ? frame_->hwnd() : nullptr);
    return true;
}

bool CArchivonApp::InitInstance(const char* commandLine) {
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
    winsockStarted_ = true;
    if (LOBYTE(wsa.wVersion) != 2 || HIBYTE(wsa.wVersion) != 2) {
        WSACleanup();
        return false;
    }
    splashAllowed_ = !app::HasAutomationFlag(commandLine ? commandLine : "");
    SetSplashAllowed(splashAllowed_);
    // The folder chooser and shell execution need a single-threaded apartment.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    InstallSystemCodePage();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    const std::string exe = win::ModuleFileName();
    if (exe.empty()) ShowSystemError();
    jobFilePath = exe.empty() ? std::string() : paths::JobFilePathFor(exe);
    vault = vault::LoadVaultContext(ArchivonSettings(), win::ModuleDirectory());
    textFileTypes = vault.textFileTypes;

    frame_ = std::make_unique<CMainFrame>(vault);
    frame_->jobFilePath = jobFilePath;
    if (!frame_->Create()) {
        frame_.reset();
        ShowMessageBox(nullptr, LoadResString(IDS_CREATE_FAILED), "Archivon", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    ShowWindow(*frame_, SW_SHOWMAXIMIZED);
    UpdateWindow(*frame_);

    std::vector<std::string> files;
    if (paths::ParseFileListArgument(commandLine ? commandLine : "", files)) frame_->AddFilesToCurrentCatalog(files);

    if (AnotherInstanceRuns()) {
        // Ends without the close step: the job list is not saved.
        frame_.reset();
        return false;
    }
    ArchivonSettings().SetText("Config", "path4gleanix", exe);
    return true;
}

int CArchivonApp::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // A key or button press that ends the splash goes no further.
        if (PreTranslateAppMessage(msg)) continue;
        if (frame_ && frame_->PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int CArchivonApp::ExitInstance() {
    frame_.reset();
    if (comStarted_) CoUninitialize();
    comStarted_ = false;
    // The socket library is shut down after every start, also an early end.
    if (WSACleanup() != 0) {
        SetLastError(WSAGetLastError());
        ShowSystemError();
    }
    return 0;
}

int CArchivonApp::Main(const char* commandLine) {
    const int code = InitInstance(commandLine) ? Run() : 0;
    ExitInstance();
    return code;
}
