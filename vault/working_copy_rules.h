// What to do with a document and its working copy, given what the two
// files are now; where the working copy lies; the texts of the lines the
// working-copy commands write.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "vault/document_record.h"

namespace vault {

// One side of a document: a file that exists with its time and size. A
// folder where the file should be counts as no file.
struct FileFacts {
    bool exists = false;
    std::uint32_t modified = 0;  // whole seconds
    std::int32_t size = 0;
};

enum class CheckInAction {
    folderNotSet,     // no working folder
    copyMissing,      // no working copy
    encrypted,        // never copied in either direction
    originalMissing,  // nothing to do
    keep,             // the working copy is not newer: nothing to copy
    update,           // the working copy is newer: it goes over the original
};

CheckInAction DecideCheckIn(const DocumentRecord& record, const FileFacts& original, const FileFacts& copy);

// Whether check in and remove deletes the working copy: only when the
// record went through the checks, and an edited copy only once it is safe
// in the vault.
bool RemoveAfterCheckIn(CheckInAction action, bool updateSucceeded);

enum class OpenAction {
    folderNotSet,
    encrypted,
    originalMissing,
    refreshCopy,  // no working copy, or the original is newer: copy it out
    openCopy,     // the two are the same
    askCheckIn,   // the working copy is newer, or differs in size at equal times
};

OpenAction DecideOpen(const DocumentRecord& record, const FileFacts& original, const FileFacts& copy);

// The working folder and a name joined with one backslash (a drive root
// such as D:\ ends with its own).
std::string WorkingCopyPath(std::string_view workingFolder, std::string_view name);

// The working folder of catalog `catalog` when the subtree under `top`
// works in `folder`: folder followed by catalog's path below top, with
// doubled backslashes made single (a network path keeps its leading pair).
std::string SubtreeWorkingFolder(std::string_view folder, std::string_view top, std::string_view catalog);

// True when path lies inside the vault, compared without regard to case:
// such a "working copy" may be a document itself and is never deleted.
bool InsideVaultNoCase(std::string_view path, std::string_view root);

// R of the lines: the catalog's path below the vault root, a backslash and
// the document's name.
std::string ReportPrefix(std::string_view catalog, std::string_view root, std::string_view name);

constexpr const char* kFolderNotSet = "'s working folder not set!\r\n";
constexpr const char* kCopyMissing = "'s working copy doesn't exist\r\n";
constexpr const char* kUpdated = " is updated.\r\n";
constexpr const char* kCopyRemoved = "'s working copy is removed\r\n";
constexpr const char* kCopyNotRemoved = "'s working copy can not be removed\r\n";
constexpr const char* kWorkingFolderTitle = "Select a working folder";
constexpr const char* kInsideVaultRefusal = "Working path can not be sub-path of Vaultry root path!";

std::string TotalCheckedLine(int count);

}  // namespace vault
