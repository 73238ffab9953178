#include "jobs/job_cells.h"

#include <cstdio>

namespace {
struct Column {
    const char* heading;
    int width;
};
constexpr Column kColumns[kJobColumnCount] = {{"No.", 40},       {"File", 160},  {"Received/Total ", 200},
                                              {"Time left", 90}, {"Speed", 100}, {"Status", 550}};
}  // namespace

const char* JobColumnHeading(int column) {
    return column >= 0 && column < kJobColumnCount ? kColumns[column].heading : "";
}

int JobColumnWidth(int column) { return column >= 0 && column < kJobColumnCount ? kColumns[column].width : 0; }

std::uint32_t JobSecondsLeft(std::uint32_t receivedBytes, std::uint32_t totalBytes, double bytesPerSecond) {
    // A rate read from a damaged job file may be anything: NaN takes the
    // small divisor and huge rates are clamped, so the conversion is defined.
    const std::uint32_t divisor = !(bytesPerSecond >= 200.0)       ? 200u
                                  : bytesPerSecond >= 4294967294.0 ? 0xFFFFFFFFu
                                                                 : static_cast<std::uint32_t>(bytesPerSecond) + 1;
    return (totalBytes - receivedBytes) / divisor;
}

std::string JobTimeSpanText(std::uint32_t seconds) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
    return buf;
}

std::string JobSpeedText(double bytesPerSecond) {
    char buf[64];
    if (bytesPerSecond > 1000.0)
        std::snprintf(buf, sizeof buf, "%.2fKB/sec", bytesPerSecond / 1000.0);
    else
        std::snprintf(buf, sizeof buf, "%.0fB/sec", bytesPerSecond);
    return buf;
}

std::string JobCellText(const JobCellValues& job, int column) {
    switch (column) {
        case 0: return std::to_string(job.number);
        case 1: return job.fileName;
        case 2: return std::to_string(job.receivedBytes) + "/" + std::to_string(job.totalBytes);
        case 3: return JobTimeSpanText(JobSecondsLeft(job.receivedBytes, job.totalBytes, job.bytesPerSecond));
        case 4: return JobSpeedText(job.bytesPerSecond);
        case 5: return job.status;
    }
    return {};
}
