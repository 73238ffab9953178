#include "common/browse_folder.h"

#include <shlobj.h>

bool BrowseForFolderDialog(HWND owner, const std::string& title, std::string& folder) {
    char display[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&info);
    if (!pidl) return false;
    char path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListA(pidl, path) != FALSE;
    CoTaskMemFree(pidl);
    if (!ok) return false;
    folder = path;
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return true;
}
