// The application object: start-up, the single-instance rule, the message
// loop and shutdown.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "common/win/handle.h"
#include "vault/vault_context.h"

class CMainFrame;

class CArchivonApp {
public:
    explicit CArchivonApp(HINSTANCE instance);
    ~CArchivonApp();

    // Start-up; false to end the process at once.
    bool InitInstance(const char* commandLine);
    int Run();
    int ExitInstance();
    // InitInstance, the message loop when it succeeds, then ExitInstance.
    int Main(const char* commandLine);

    static CArchivonApp* Instance();
    CMainFrame* mainFrame() { return frame_.get(); }
    bool splashAllowed() const { return splashAllowed_; }

    std::string textFileTypes;
    std::string jobFilePath;
    // The vault root and text types, read once at start-up and handed down.
    vault::VaultContext vault;

private:
    bool AnotherInstanceRuns();
    HINSTANCE instance_;
    std::unique_ptr<CMainFrame> frame_;
    win::Mutex instanceMutex_;
    bool winsockStarted_ = false;
    bool comStarted_ = false;
    bool splashAllowed_ = true;
};

// Brings the first window titled "Archivon ver..." other than `own` to the
// front; false when there is none.
bool BringFirstInstanceForward(HWND own);
