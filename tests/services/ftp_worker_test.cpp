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

TEST_F(ScriptedFtp, EarlyCloseKeepsThePart) {
    auto job = Job("early");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Canceled.");
    EXPECT_EQ(job->receivedBytes, 1500u);
    EXPECT_EQ(ReadFileBytes(dir / "_pub_a.zip"), ScriptedBody().substr(0, 1500));
}

TEST_F(ScriptedFtp, ThroughScriptedSocks4a) {
    // The proxy resolves the name; the data connection uses the 4-byte form.
    auto job = MakeJob("ftp://localhost:" + std::to_string(peer->ftp) + "/f.bin", dir.path());
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
