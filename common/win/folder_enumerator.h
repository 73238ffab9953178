// The entries of one folder, without "." and "..".
#pragma once
#include <windows.h>

#include <string>

namespace win {

class FolderEnumerator {
public:
    // Lists folder\pattern.
    explicit FolderEnumerator(const std::string& folder, const char* pattern = "*");
    ~FolderEnumerator();
    FolderEnumerator(const FolderEnumerator&) = delete;
    FolderEnumerator& operator=(const FolderEnumerator&) = delete;

    // Moves to the next entry; false at the end or on failure (see error()).
    bool Next();
    // ERROR_NO_MORE_FILES (or ERROR_FILE_NOT_FOUND for an empty match) at
    // a clean end; otherwise why the listing stopped.
    DWORD error() const { return error_; }
    bool CleanEnd() const { return error_ == ERROR_NO_MORE_FILES || error_ == ERROR_FILE_NOT_FOUND; }

    const WIN32_FIND_DATAA& entry() const { return data_; }
    std::string name() const { return data_.cFileName; }
    bool isFolder() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A folder that is not a junction or folder link: the only kind a walk
    // descends into, since a link to an ancestor would make it endless.
    bool isPlainFolder() const { return isFolder() && !(data_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT); }
    unsigned long long size() const {
        return (static_cast<unsigned long long>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
    }

private:
    bool Accept() const;
    HANDLE find_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data_{};
    bool first_ = true;
    DWORD error_ = 0;
};

}  // namespace win
