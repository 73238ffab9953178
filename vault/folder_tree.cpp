#include "vault/folder_tree.h"

#include <windows.h>

bool MoveFolderTree(const std::string& source, const std::string& destination) {
    if (!CreateDirectoryA(destination.c_str(), nullptr)) return false;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((source + "\\*.*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        bool ok = true;
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string from = source + "\\" + name, to = destination + "\\" + name;
            // A folder link moves as itself; its target stays where it is.
            const bool plainFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                                     !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
            ok = plainFolder ? MoveFolderTree(from, to) : MoveFileA(from.c_str(), to.c_str()) != FALSE;
        } while (ok && FindNextFileA(h, &fd));
        FindClose(h);
        if (!ok) return false;
    }
    return RemoveDirectoryA(source.c_str()) != FALSE;
}
