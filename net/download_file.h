// The local file a download writes: opened for a fresh start or a resume,
// cut back to the resume point, written block by block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class DownloadFile {
public:
    DownloadFile() = default;
    ~DownloadFile() { Close(); }
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    // With offset 0 the file is created (an old one truncated); otherwise the
    // existing file is opened and cut to offset, so that nothing beyond the
    // resume point survives. Sets the last error on failure.
    bool Open(const std::string& path, std::uint32_t offset);
    bool Write(const void* data, std::uint32_t size);
    bool SetLength(std::uint32_t length);
    void Close();

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};
