// The local file a download writes: opened for a fresh start or a resume,
// cut back to the resume point, written block by block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/win/handle.h"

class DownloadJob;

class DownloadFile {
public:
    DownloadFile() = default;

    // With offset 0 the file is created (an old one truncated); otherwise the
    // existing file is opened and cut to offset, so that nothing beyond the
    // resume point survives. Sets the last error on failure.
    bool Open(const std::string& path, std::uint32_t offset);
    bool Write(const void* data, std::uint32_t size);
    bool SetLength(std::uint32_t length);
    void Close();

private:
    win::File file_;
};

// Lowers receivedBytes to the length of the partial file, so a resume never
// leaves a run of zeros where the file was cut behind the program's back.
void ClampResumeToFile(DownloadJob& job);
// Takes a server-chosen name for a new file in `folder`: a loader-sensitive
// name gets "_" appended, an existing file is never overwritten ("a[1].zip"),
// and the name returned is reserved: its file has been created, empty. When
// the folder refuses the file for another reason, the name is returned
// unreserved and the open that follows reports the error.
std::string ReserveDownloadName(const std::string& folder, std::string name);

// Takes the received blocks of one run: writes them, advances the job's
// receivedBytes and rate under its lock and posts jobProgress after more
// than 50000 bytes.
class BlockWriter {
public:
    // wholeRate: the rate in whole bytes per second (as FTP shows it).
    BlockWriter(DownloadJob& job, DownloadFile& file, bool wholeRate);
    // Writes what fits below the 4 GB limit of the counters and tells how
    // much that was; false when the file refused it (last error set).
    bool Write(const char* data, std::uint32_t size, std::uint32_t& written);

private:
    DownloadJob& job_;
    DownloadFile& file_;
    bool wholeRate_;
    unsigned long long startSecond_;
    std::uint32_t startOffset_;
    std::uint32_t sinceProgress_ = 0;
};
