#include "common/win/folder_enumerator.h"

#include <cstring>

namespace win {

FolderEnumerator::FolderEnumerator(const std::string& folder, const char* pattern) {
    std::string search = folder;
    if (search.empty() || search.back() != '\\') search.push_back('\\');
    search += pattern;
    find_ = FindFirstFileA(search.c_str(), &data_);
    if (find_ == INVALID_HANDLE_VALUE) error_ = GetLastError();
}

FolderEnumerator::~FolderEnumerator() {
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
}

bool FolderEnumerator::Accept() const {
    return std::strcmp(data_.cFileName, ".") != 0 && std::strcmp(data_.cFileName, "..") != 0;
}

bool FolderEnumerator::Next() {
    if (find_ == INVALID_HANDLE_VALUE) return false;
    for (;;) {
        if (first_) {
            first_ = false;
        } else if (!FindNextFileA(find_, &data_)) {
            error_ = GetLastError();
            FindClose(find_);
            find_ = INVALID_HANDLE_VALUE;
            return false;
        }
        if (Accept()) return true;
    }
}

}  // namespace win
