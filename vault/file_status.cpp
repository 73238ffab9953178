#include "vault/file_status.h"

#include "common/win/file_system.h"

namespace vault {

bool GetFileStatus(const std::string& path, FileStatus& status) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    status.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.modified = win::UnixTimeFromFileTime(data.ftLastWriteTime);
    status.created = win::UnixTimeFromFileTime(data.ftCreationTime);
    // The record keeps 32 bits; larger files wrap as they always have.
    status.size = static_cast<std::int32_t>(data.nFileSizeLow);
    return true;
}

}  // namespace vault
