// The file facts a document record caches: times and size.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace vault {

struct FileStatus {
    bool isFolder = false;
    std::uint32_t modified = 0;  // seconds since 1970, UTC
    std::uint32_t created = 0;
    std::int32_t size = 0;
};

// False when nothing of that name exists.
bool GetFileStatus(const std::string& path, FileStatus& status);

}  // namespace vault
