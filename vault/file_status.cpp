#include "vault/file_status.h"

namespace vault {

std::uint32_t UnixTimeFromFileTime(const FILETIME& ft) {
    constexpr std::uint64_t kEpochTicks = 116444736000000000ULL;  // 1601 -> 1970 in 100 ns
    const std::uint64_t ticks = (std::uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (ticks <= kEpochTicks) return 0;
    const std::uint64_t secs = (ticks - kEpochTicks) / 10000000ULL;
    return secs > 0xFFFFFFFFULL ? 0xFFFFFFFFu : static_cast<std::uint32_t>(secs);
}

bool GetFileStatus(const std::string& path, FileStatus& status) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    status.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.modified = UnixTimeFromFileTime(data.ftLastWriteTime);
    status.created = UnixTimeFromFileTime(data.ftCreationTime);
    // The record keeps 32 bits; larger files wrap as they always have.
    status.size = static_cast<std::int32_t>(data.nFileSizeLow);
    return true;
}

}  // namespace vault
