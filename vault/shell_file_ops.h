// Copy, move and delete of document files. Sources and destinations are
// parallel lists. With rename on collision the program picks the free name
// "name (2).ext", "name (3).ext", ... itself (the same on every platform) and
// reports where each file really went.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class UiPort;

namespace vault {

struct FileOutcome {
    bool done = false;
    DWORD error = 0;        // the system's code when not done
    std::string finalPath;  // where the file is now when done
};

// Without rename on collision an existing destination is replaced only
// after `ui` confirms it; a refused one is reported with ERROR_CANCELLED.
std::vector<FileOutcome> ShellCopyFiles(const std::vector<std::string>& sources,
                                        const std::vector<std::string>& destinations, bool renameOnCollision,
                                        UiPort& ui);
std::vector<FileOutcome> ShellMoveFiles(const std::vector<std::string>& sources,
                                        const std::vector<std::string>& destinations, bool renameOnCollision,
                                        UiPort& ui);
// Deletes without confirmation and without undo, read-only files too.
std::vector<FileOutcome> ShellDeleteFiles(const std::vector<std::string>& paths);

// "Cannot <verb> <from> to <to>: <system text>\r\n" for the Messages tab.
std::string TransferFailureLine(const char* verb, const std::string& from, const std::string& to, DWORD error);

}  // namespace vault
