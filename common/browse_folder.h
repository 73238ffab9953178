// The shell's folder chooser, for both deliverables.
#pragma once
#include <windows.h>

#include <string>

// False when cancelled; `folder` gets the full path without a trailing
// backslash (except at a drive root).
bool BrowseForFolderDialog(HWND owner, const std::string& title, std::string& folder);
