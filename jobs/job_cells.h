// The texts of the jobs list's cells, made from a copy of a job's fields.
#pragma once
#include <cstdint>
#include <string>

struct JobCellValues {
    std::int32_t number = -1;
    std::string fileName;
    std::uint32_t receivedBytes = 0;
    std::uint32_t totalBytes = 0;
    double bytesPerSecond = 0;
    std::string status;
};

constexpr int kJobColumnCount = 6;
// Heading and width in pixels of each column; "Received/Total " ends with a blank.
const char* JobColumnHeading(int column);
int JobColumnWidth(int column);

// Seconds left: what remains (unsigned 32-bit) divided by the rate plus one,
// or by 200 below 200 bytes per second.
std::uint32_t JobSecondsLeft(std::uint32_t receivedBytes, std::uint32_t totalBytes, double bytesPerSecond);
// "HH:MM:SS" of the hours within the last day.
std::string JobTimeSpanText(std::uint32_t seconds);
// "%.2fKB/sec" of a thousandth above 1000 bytes per second, else "%.0fB/sec".
std::string JobSpeedText(double bytesPerSecond);
std::string JobCellText(const JobCellValues& job, int column);
