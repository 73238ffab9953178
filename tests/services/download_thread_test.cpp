#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>

#include "common/settings_store.h"
#include "net/download_settings.h"
#include "net/download_thread.h"
#include "tests/support/download_test_support.h"
#include "tests/support/test_env.h"

TEST(DownloadThread, FiftyTransferAndTheFiftyFirstWaits) {
    ScriptedPeer peer;
    ASSERT_TRUE(peer.ok());
    TempDir dir;
    NotifyWindow window;
    std::vector<std::unique_ptr<DownloadJob>> jobs;
    for (int i = 0; i < kDownloadSlotCount + 1; ++i) {
        jobs.push_back(MakeJob(peer.Url("/silent"), dir.path()));
        jobs.back()->url += "?" + std::to_string(i);
        jobs.back()->notifyWindow = window.hwnd();
    }
    for (int i = 0; i < kDownloadSlotCount; ++i) ASSERT_TRUE(LaunchDownload(*jobs[i]));
    // The fifty all got a slot and are connected.
    ASSERT_TRUE(PumpUntil([&] { return window.Count(jobProgress) >= kDownloadSlotCount; }, 20000));
    DownloadJob& last = *jobs.back();
    ASSERT_TRUE(LaunchDownload(last));
    PumpFor(500);
    EXPECT_EQ(window.Count(jobProgress, &last), 0);
    EXPECT_FALSE(WorkerHasEnded(last));

    // A slot given back lets it run.
    StopDownload(*jobs[0]);
    ASSERT_TRUE(window.WaitForEnd(*jobs[0]));
    WaitDownloadEnd(*jobs[0]);
    ASSERT_TRUE(PumpUntil([&] { return window.Count(jobProgress, &last) > 0; }));

    // Stopping a job that waits for a slot ends it without jobEnded.
    ASSERT_TRUE(LaunchDownload(*jobs[0]));
    PumpFor(200);
    jobs[0]->status = "waiting";
    ASSERT_TRUE(StopDownload(*jobs[0]));
    ASSERT_TRUE(PumpUntil([&] { return WorkerHasEnded(*jobs[0]); }));
    JoinStoppedWorker(*jobs[0]);
    EXPECT_TRUE(IsDownloadIdle(*jobs[0]));
    PumpFor(100);
    EXPECT_EQ(window.Count(jobEnded, jobs[0].get()), 1);  // only the one of its first run
    EXPECT_EQ(jobs[0]->status, "waiting");

    for (auto& job : jobs) StopDownload(*job);
    for (auto& job : jobs) JoinStoppedWorker(*job);
    // Every slot came back.
    LONG count = 0;
    for (int i = 0; i < kDownloadSlotCount; ++i) ASSERT_EQ(WaitForSingleObject(DownloadSlots(), 0), WAIT_OBJECT_0);
    ReleaseSemaphore(DownloadSlots(), kDownloadSlotCount, &count);
    EXPECT_EQ(count, 0);
}

TEST(DownloadThread, ABusyWindowGetsOneProgressAndTheEnd) {
    ScriptedPeer peer;
    ASSERT_TRUE(peer.ok());
    TempDir dir;
    NotifyWindow window;
    auto job = MakeJob(peer.Url("/big"), dir.path());
    job->notifyWindow = window.hwnd();
    ASSERT_TRUE(LaunchDownload(*job));
    // The window thread takes no message while the whole transfer runs.
    ASSERT_EQ(WaitForSingleObject(job->worker.get(), 20000), WAIT_OBJECT_0);
    ASSERT_TRUE(window.WaitForEnd(*job));
    WaitDownloadEnd(*job);
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(window.Count(jobProgress, job.get()), 1);

    // A window that takes them as they come keeps getting them.
    auto ftp = MakeJob("ftp://127.0.0.1:" + std::to_string(peer.ftp) + "/a.zip", dir.path());
    ftp->userName = "multi";  // replies in slow pieces, each a new status
    ASSERT_TRUE(RunToEnd(*ftp, window));
    EXPECT_EQ(ftp->status, "Finished.");
    EXPECT_GE(window.Count(jobProgress, ftp.get()), 3);
}

namespace {

// A queue that is full for the first `refusals` jobEnded posts, or for all
// of them when negative.
std::atomic<int> refusals{0};
std::atomic<int> endPosts{0};
BOOL WINAPI FullQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == jobEnded) {
        ++endPosts;
        if (refusals < 0 || refusals-- > 0) {
            SetLastError(ERROR_NOT_ENOUGH_QUOTA);
            return FALSE;
        }
    }
    return PostMessageA(window, message, wParam, lParam);
}

struct PosterSwap {
    PosterSwap() { WorkerPostMessage() = FullQueue; }
    ~PosterSwap() { WorkerPostMessage() = PostMessageA; }
};

}  // namespace

TEST(DownloadThread, TheEndIsPostedOnceTheQueueHasRoom) {
    TempDir dir;
    PosterSwap swap;
    NotifyWindow window;
    refusals = 3;
    endPosts = 0;
    auto job = MakeJob("gopher://h/", dir.path());
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(endPosts, 4);
    EXPECT_EQ(window.Count(jobEnded, job.get()), 1);

    // A window that is gone ends the tries, and the thread.
    refusals = -1;
    endPosts = 0;
    auto gone = std::make_unique<NotifyWindow>();
    job->notifyWindow = gone->hwnd();
    ASSERT_TRUE(LaunchDownload(*job));
    ASSERT_TRUE(PumpUntil([&] { return endPosts > 1; }));
    EXPECT_FALSE(WorkerHasEnded(*job));
    gone.reset();
    EXPECT_EQ(WaitForSingleObject(job->worker.get(), 5000), WAIT_OBJECT_0);
    JoinStoppedWorker(*job);
}

TEST(DownloadThread, StartNormalisesAndResets) {
    TempDir dir;
    NotifyWindow window;
    auto job = MakeJob("gopher://h", dir.path());
    job->receivedBytes = 99;
    // A stop asked while idle does nothing and does not stop the next run.
    EXPECT_FALSE(StopDownload(*job));
    job->stopEvent.Set();
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->startedUrl, "gopher://h/");
    EXPECT_EQ(job->receivedBytes, 0u);  // no file name: no resume
    EXPECT_EQ(job->status, "Failed.");
    EXPECT_EQ(window.Count(jobEnded, job.get()), 1);
}

TEST(DownloadSettings, ProxyAndUserAgentFromTheStore) {
    SettingsStore& s = ArchivonSettings();
    auto job = std::make_unique<DownloadJob>();
    ProxySnapshot proxy;
    LoadProxySettings(proxy);
    EXPECT_EQ(proxy.Type, 0);
    EXPECT_EQ(proxy.IPAddress, 0x7F000001u);
    EXPECT_EQ(proxy.Port, 80);
    LoadUserAgent(*job);
    EXPECT_EQ(job->userAgent, "Archivon/1.10");

    s.SetInt("Proxy", "Type", 4);
    s.SetInt("Proxy", "IPAddress", static_cast<int>(0xC0A80001));
    s.SetText("Proxy", "User", "u");
    s.SetText("Download", "Agents", "A|||B|||C|||");
    s.SetInt("Download", "AgentSel", 1);
    LoadProxySettings(proxy);
    LoadUserAgent(*job);
    EXPECT_EQ(proxy.Type, 4);
    EXPECT_EQ(proxy.IPAddress, 0xC0A80001u);
    EXPECT_EQ(proxy.User, "u");
    EXPECT_EQ(job->userAgent, "B");
    s.SetInt("Download", "AgentSel", 7);  // beyond the list: the job keeps its own
    LoadUserAgent(*job);
    EXPECT_EQ(job->userAgent, "B");
    for (const char* name : {"Type", "IPAddress", "User"}) s.DeleteValue("Proxy", name);
    s.DeleteValue("Download", "Agents");
    s.DeleteValue("Download", "AgentSel");
}

TEST(DownloadThreadUrl, AUrlThatDoesNotSplitLeavesNoScheme) {
    for (const char* url : {"http://h:99999/", "http://a b/", "http://:80/"}) {
        DownloadJob job;
        job.startedUrl = url;
        job.serviceType = 3;
        ParseJobUrl(job);
        EXPECT_EQ(job.serviceType, 0) << url;
        EXPECT_TRUE(job.serverHost.empty()) << url;
    }
}
