#include <gtest/gtest.h>

#include "jobs/download_job.h"
#include "tests/support/test_env.h"

TEST(JobList, SaveLoadRenumbersAndFindsUrls) {
    TempDir dir;
    const std::string path = dir / "Archivon.job";
    DownloadJobList list;
    for (const char* url : {"http://a/1", "ftp://b/2", "http://c/3"}) {
        auto job = std::make_unique<DownloadJob>();
        job->url = url;
        job->status = "Finished.";
        job->number = 42;
        const int expected = static_cast<int>(list.size());
        EXPECT_EQ(list.AppendAndSave(std::move(job), path), expected);
    }
    EXPECT_TRUE(list.HasUrl("ftp://b/2"));
    EXPECT_FALSE(list.HasUrl("ftp://b/2/"));
    list.at(1).number = 7;
    ASSERT_TRUE(list.SaveJobList(path));

    DownloadJobList loaded;
    ASSERT_TRUE(loaded.LoadJobList(path));
    ASSERT_EQ(loaded.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.at(i).number, i);
        EXPECT_EQ(loaded.at(i).url, list.at(i).url);
        EXPECT_EQ(loaded.at(i).formatVersion, kJobFileVersion);
        EXPECT_FALSE(loaded.at(i).worker.running());
    }
}

TEST(JobList, MissingEmptyAndDamagedFiles) {
    TempDir dir;
    MessageBoxRecorder boxes;
    DownloadJobList list;
    list.AppendAndSave(std::make_unique<DownloadJob>(), dir / "x.job");
    ASSERT_TRUE(list.LoadJobList(dir / "missing.job"));
    EXPECT_EQ(list.size(), 0u);
    WriteFileBytes(dir / "empty.job", "");
    ASSERT_TRUE(list.LoadJobList(dir / "empty.job"));
    EXPECT_EQ(list.size(), 0u);
    EXPECT_TRUE(boxes.boxes.empty());

    for (const char* url : {"http://a/1", "http://b/2"}) {
        auto job = std::make_unique<DownloadJob>();
        job->url = url;
        list.AppendAndSave(std::move(job), dir / "two.job");
    }
    std::string bytes = ReadFileBytes(dir / "two.job");
    WriteFileBytes(dir / "cut.job", bytes.substr(0, bytes.size() - 3));
    EXPECT_FALSE(list.LoadJobList(dir / "cut.job"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.at(0).url, "http://a/1");
    EXPECT_EQ(boxes.boxes.size(), 1u);

    // A file that cannot be created is skipped without a word.
    EXPECT_FALSE(list.SaveJobList(dir / "no-folder\\x.job"));
    EXPECT_EQ(boxes.boxes.size(), 1u);
}
