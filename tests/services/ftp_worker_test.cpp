#include <winsock2.h>

#include <gtest/gtest.h>

#include "net/download_thread.h"
#include "net/proxy_messages.h"
#include "tests/support/download_test_support.h"
#include "tests/support/test_env.h"

namespace {

class ScriptedFtp : public ScriptedPeerTest {
protected:
    std::unique_ptr<DownloadJob> Job(const std::string& user) {
        auto job = MakeJob("ftp://127.0.0.1:" + std::to_string(peer->ftp) + "/pub/a.zip", dir.path());
        job->userName = user;
        job->password = "pw";
        return job;
    }
};

}  // namespace

TEST_F(ScriptedFtp, MultiLineRepliesInPiecesAndResume) {
    auto job = Job("multi");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(job->fileName, "_pub_a.zip");
    EXPECT_EQ(job->totalBytes, 5000u);
    EXPECT_EQ(ReadFileBytes(dir / "_pub_a.zip"), ScriptedBody());

    // A resume asks for the rest only: the first 1200 bytes stay as they were.
    const std::string body = ScriptedBody();
    const std::string kept(1200, 'k');
    WriteFileBytes(dir / "_pub_a.zip", kept + "garbage");
    job->receivedBytes = 1200;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "_pub_a.zip"), kept + body.substr(1200));
}

TEST_F(ScriptedFtp, RefusedRestDownloadsEverything) {
    // This server ends the session if REST comes again after its refusal.
    WriteFileBytes(dir / "_pub_a.zip", std::string(700, 'x'));
    auto job = Job("norest");
    job->fileName = "_pub_a.zip";
    job->receivedBytes = 700;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "_pub_a.zip"), ScriptedBody());
}

TEST_F(ScriptedFtp, EndOfDataIsJudgedBySize) {
    // A reset after the last byte ends the data like a close.
    auto whole = Job("reset");
    ASSERT_TRUE(RunToEnd(*whole, window));
    EXPECT_EQ(whole->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "_pub_a.zip"), ScriptedBody());
    // A close or a reset before it keeps the part for a resume.
    for (const std::string user : {"early", "early-reset"}) {
        auto cut = Job(user);
        cut->fileName = user + ".zip";
        ASSERT_TRUE(RunToEnd(*cut, window)) << user;
        EXPECT_EQ(cut->status, "Canceled.") << user;
        EXPECT_EQ(cut->receivedBytes, 1500u) << user;
        EXPECT_EQ(ReadFileBytes(dir / cut->fileName), ScriptedBody().substr(0, 1500)) << user;
    }
}

TEST_F(ScriptedFtp, DataGoesToTheControlHostWhateverPasvSays) {
    // The server names 127.0.0.2, where a decoy answers on the same port.
    auto direct = Job("elsewhere");
    ASSERT_TRUE(RunToEnd(*direct, window));
    EXPECT_EQ(direct->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "_pub_a.zip"), ScriptedBody());
}

TEST_F(ScriptedFtp, JobsStartedTogetherNeverShareAFile) {
    // Two servers, one path: both jobs choose "_pub_a.zip" at the same time.
    const std::string port = std::to_string(peer->ftp);
    auto first = MakeJob("ftp://127.0.0.1:" + port + "/pub/a.zip", dir.path());
    auto second = MakeJob("ftp://localhost:" + port + "/pub/a.zip", dir.path());
    for (auto* job : {first.get(), second.get()}) {
        job->userName = "multi";  // slow replies keep both runs open together
        job->notifyWindow = window.hwnd();
        ASSERT_TRUE(LaunchDownload(*job));
    }
    ASSERT_TRUE(window.WaitForEnd(*first));
    ASSERT_TRUE(window.WaitForEnd(*second));
    WaitDownloadEnd(*first);
    WaitDownloadEnd(*second);
    EXPECT_EQ(first->status, "Finished.");
    EXPECT_EQ(second->status, "Finished.");
    EXPECT_NE(first->fileName, second->fileName);
    for (auto* job : {first.get(), second.get()}) EXPECT_EQ(ReadFileBytes(dir / job->fileName), ScriptedBody());
}

TEST_F(ScriptedFtp, ThroughScriptedSocks4a) {
    // The proxy resolves the name, for the data connection too: it goes to
    // the host the job names, not to the one PASV names.
    auto job = MakeJob("ftp://localhost:" + std::to_string(peer->ftp) + "/f.bin", dir.path());
    job->userName = "elsewhere";
    job->password = "pw";
    job->proxy.Type = net::kProxySocks4a;
    job->proxy.IPAddress = 0x7F000001;
    job->proxy.Port = peer->socks;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "_f.bin"), ScriptedBody());

    auto http = MakeJob("http://localhost:" + std::to_string(peer->http) + "/resume200", dir.path());
    http->proxy = job->proxy;
    ASSERT_TRUE(RunToEnd(*http, window));
    EXPECT_EQ(http->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "resume200"), ScriptedBody());
}

TEST_F(ScriptedFtp, ProxiesThatRefuseOrLie) {
    auto job = MakeJob(peer->Url("/resume200"), dir.path());
    job->fileName = "f";
    job->proxy.IPAddress = 0x7F000001;
    job->proxy.Port = peer->socks;  // a SOCKS 4 proxy hangs up on SOCKS 5
    job->proxy.Type = net::kProxySocks5;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, SystemErrorText(WSAECONNRESET));
    EXPECT_FALSE(FileExists(dir / "f"));
    job->proxy.Type = net::kProxyIsa;
    job->proxy.Port = peer->socks;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, SystemErrorText(WSAEOPNOTSUPP));
    // A SOCKS 4 proxy that cannot reach the target refuses.
    job->proxy.Type = net::kProxySocks4;
    job->url = "http://127.0.0.1:1/x";
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, SystemErrorText(WSAECONNREFUSED));
}
