// The shell's folder chooser, for both deliverables: no root, the title
// "Open" when none is given. False when cancelled.
#pragma once
#include <windows.h>

#include <string>

bool BrowseForFolderDialog(HWND owner, const std::string& title, std::string& folder);
