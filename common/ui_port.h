// How services reach the user. The main window implements it; tests give a
// recording port, so services run without windows.
#pragma once
#include <windows.h>

#include <string>

// The fields of the "Download Job" dialog.
struct JobDialogFields {
    std::string url;
    std::string name;
    bool autoName = true;
    std::string userName;
    std::string password;
    bool startAtOnce = true;
};

class UiPort {
public:
    virtual ~UiPort() = default;
    // Appends text (the caller supplies line breaks) to the Messages log.
    virtual void AddMessage(const std::string& text) = 0;
    // A message box with the application title "Archivon" unless a caption is
    // given; returns the button id. Goes through ShowMessageBox.
    virtual int Ask(const std::string& text, UINT type, const std::string& caption = "Archivon");
    // The short 400 Hz, 200 ms refusal tone.
    virtual void Beep();
    // Folder chooser; false when cancelled.
    virtual bool BrowseForFolder(const std::string& title, std::string& folder) = 0;
    // Password dialog; false when cancelled.
    virtual bool AskPassword(std::string& password) = 0;
    // Opens a document with its associated program, started in
    // `workingFolder` (none: the program's own choice).
    virtual void OpenDocument(const std::string& path, const std::string& workingFolder) = 0;
    // The "Download Job" dialog over `fields`; false when cancelled (a port
    // without the dialog cancels).
    virtual bool EditJob(JobDialogFields& fields);
    // Shows the system's text for an error code (caption "Error").
    void ShowSystemError(DWORD code);
};
