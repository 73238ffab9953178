// Opens a web address in the user's browser: the shell's "open" first,
// then the command registered for .htm pages.
#pragma once
#include <windows.h>

#include <string>

// Above 32: the shell opened the address. Otherwise the result of starting
// the registered browser, or the shell's error when none is registered.
INT_PTR OpenUrl(const std::string& address, int showCommand);

// The registered page handler's command line with the address in place of
// its "%1" placeholder; false when HKEY_CLASSES_ROOT\.htm leads nowhere.
bool BrowserFallbackCommand(const std::string& address, std::string& commandLine);
// The text rule alone: cut before "\"%1\"" (or "%1"), then a blank and the
// address.
std::string BrowserCommandLine(std::string registered, const std::string& address);

// What OpenUrl starts; tests replace it so that no browser starts.
class UrlLauncher {
public:
    virtual ~UrlLauncher() = default;
    virtual INT_PTR ShellOpen(const std::string& address, int showCommand);
    // Like WinExec: above 31 on success.
    virtual UINT Run(const std::string& commandLine, int showCommand);
};
// nullptr restores the real launcher. The caller keeps ownership.
void SetUrlLauncher(UrlLauncher* launcher);
