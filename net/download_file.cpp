#include "net/download_file.h"

bool DownloadFile::Open(const std::string& path, std::uint32_t offset) {
    Close();
    file_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, offset ? OPEN_EXISTING : CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return false;
    if (!SetLength(offset)) {
        const DWORD error = GetLastError();
        Close();
        SetLastError(error);
        return false;
    }
    return true;
}

bool DownloadFile::SetLength(std::uint32_t length) {
    LARGE_INTEGER at;
    at.QuadPart = length;
    return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
}

bool DownloadFile::Write(const void* data, std::uint32_t size) {
    DWORD written = 0;
    if (!WriteFile(file_, data, size, &written, nullptr)) return false;
    if (written == size) return true;
    SetLastError(ERROR_DISK_FULL);
    return false;
}

void DownloadFile::Close() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}
