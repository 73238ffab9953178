#include "jobs/job_cells.h"

#include <gtest/gtest.h>

#include <limits>

TEST(JobCells, TimeLeftUsesTheRatePlusOneOr200) {
    // 7 200 000 bytes at 1 000 bytes a second: 7 200 000 / 1 001 = 7 192 s.
    EXPECT_EQ(JobTimeSpanText(JobSecondsLeft(0, 7200000, 1000.0)), "01:59:52");
    // Below 200 bytes a second the divisor is 200: 3 600 / 200 = 18 s.
    EXPECT_EQ(JobTimeSpanText(JobSecondsLeft(100, 3700, 150.0)), "00:00:18");
    // Whole days are not shown: 100 000 s is one day and 03:46:40.
    EXPECT_EQ(JobTimeSpanText(100000), "03:46:40");
    EXPECT_EQ(JobTimeSpanText(0), "00:00:00");
    // The rate is truncated before the one is added.
    EXPECT_EQ(JobSecondsLeft(0, 1001, 1000.9), 1u);
    // Unsigned arithmetic: more received than the total wraps, as it always did.
    EXPECT_EQ(JobSecondsLeft(10, 0, 0.0), (0u - 10u) / 200u);
    EXPECT_EQ(JobSecondsLeft(0, 10, 1e300), 0u) << "an absurd rate is no undefined conversion";
    EXPECT_EQ(JobSecondsLeft(0, 400, std::numeric_limits<double>::quiet_NaN()), 2u);
}

TEST(JobCells, SpeedSwitchesToKilobytesAbove1000) {
    EXPECT_EQ(JobSpeedText(1000.0), "1000B/sec");
    EXPECT_EQ(JobSpeedText(1000.5), "1.00KB/sec");
    EXPECT_EQ(JobSpeedText(0.0), "0B/sec");
    EXPECT_EQ(JobSpeedText(123456.0), "123.46KB/sec");
}

TEST(JobCells, EveryColumn) {
    JobCellValues job;
    job.number = 0;
    job.fileName = "x.zip";
    job.receivedBytes = 5;
    job.totalBytes = 4294967295u;
    job.status = "Finished.";
    EXPECT_EQ(JobCellText(job, 0), "0") << "the first job shows 0";
    EXPECT_EQ(JobCellText(job, 1), "x.zip");
    EXPECT_EQ(JobCellText(job, 2), "5/4294967295");
    EXPECT_EQ(JobCellText(job, 5), "Finished.");
    EXPECT_EQ(JobCellText(job, 6), "");
    EXPECT_STREQ(JobColumnHeading(2), "Received/Total ");
    EXPECT_EQ(JobColumnWidth(5), 550);
}
