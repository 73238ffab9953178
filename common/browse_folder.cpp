#include "common/browse_folder.h"

#include <shlobj.h>

bool BrowseForFolderDialog(HWND owner, const std::string& title, std::string& folder) {
    const std::string caption = title.empty() ? "Open" : title;
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = caption.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
    if (!pidl) return false;
    char buf[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListA(pidl, buf) != FALSE;
    CoTaskMemFree(pidl);
    if (ok) folder = buf;
    return ok;
}
