// Every message box of both deliverables goes through ShowMessageBox, so a
// test can answer it instead of a user.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

struct MessageBoxRequest {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// Returns the button id (IDOK, IDYES, ...) like MessageBoxA.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
// Installs a hook that answers every box instead; an empty hook removes it.
void SetMessageBoxHook(MessageBoxHook hook);

// The system's text for an error code, without the trailing line break.
std::string SystemErrorText(DWORD code);
// Shows the system's text for the calling thread's last error in a box
// with the caption "Error".
void ShowSystemError();
// The text that reports a file that could not be opened, by its cause
// ("C:\x\splash.bmp was not found.").
std::string FileErrorText(DWORD error, const std::string& path);
