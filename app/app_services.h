// Path and file-type services of the application object. They read the
// configuration afresh on every call, so they work without a running app.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Folder of the executable, without a trailing backslash.
std::string GetModuleDirectory();
// Full path of the executable ("" when the system cannot give it).
std::string GetModulePath();
// "BaseDir" of section "Config" as stored, or the program folder + "\Root".
std::string GetVaultRoot();
std::string GetUnknownCatalogPath();
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
// Creates every missing folder along the path; refuses with "The Path is too
// long" when a folder on the way is longer than 260 characters.
bool CreatePath(const std::string& path);
bool IsUnderBaseDir(const std::string& path);
// The system's text for the calling thread's last error, caption "Error".
void ShowSystemError();
// The platform's folder chooser; false when cancelled. An empty title shows "Open".
bool BrowseForFolder(const std::string& title, std::string& folder);
// The file's extension occurs in "TextFileTypes" (read at start-up).
bool IsTextFileType(const std::string& path);
