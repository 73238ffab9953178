// The application object: start-up, the single-instance rule, the message
// loop and shutdown.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

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

private:
    bool AnotherInstanceRuns();
    HINSTANCE instance_;
    std::unique_ptr<CMainFrame> frame_;
    HANDLE instanceMutex_ = nullptr;
    bool winsockStarted_ = false;
    bool comStarted_ = false;
    bool splashAllowed_ = true;
};

// Brings the first window titled "Archivon ver..." other than `own` to the
// front; false when there is none.
bool BringFirstInstanceForward(HWND own);
// True when the command line carries "Embedding" or "Automation" as a flag.
bool HasAutomationFlag(const char* commandLine);
