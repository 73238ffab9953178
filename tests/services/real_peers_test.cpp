// Downloads from real servers started by scripts/peers.sh (the test command
// starts them around the Wine run).
#include <winsock2.h>

#include <gtest/gtest.h>

#include "common/message_box.h"
#include "net/download_thread.h"
#include "net/proxy_messages.h"
#include "tests/support/download_test_support.h"
#include "tests/support/test_env.h"

namespace {

class RealPeers : public RealPeerTest {
protected:
    std::string Http(const std::string& file) {
        return "http://127.0.0.1:" + peers.at("http") + "/" + file;
    }
    std::string Ftp(const std::string& file) { return "ftp://127.0.0.1:" + peers.at("ftp") + "/" + file; }
    void Proxy(DownloadJob& job, std::int32_t type, const char* port, bool logon) {
        UseRealPeerProxy(job, peers, type, port, logon);
    }
};

}  // namespace

TEST_F(RealPeers, NginxWholeAndResumed) {
    auto job = MakeJob(Http("big.bin"), dir.path());
    ExpectArrives(*job, "big.bin");
    EXPECT_EQ(job->totalBytes, 8000000u);
    // Interrupted at 3000001 bytes: the resume sends a Range and gets the rest.
    const std::string expected = ReadFileBytes(www + "big.bin");
    WriteFileBytes(dir / "big.bin", expected.substr(0, 3000001) + "tail of an older run");
    job->receivedBytes = 3000001;
    ExpectArrives(*job, "big.bin");
}

TEST_F(RealPeers, PyftpdlibAnonymousUserAndResume) {
    auto anonymous = MakeJob(Ftp("small.bin"), dir.path());
    ExpectArrives(*anonymous, "small.bin");
    EXPECT_EQ(anonymous->fileName, "_small.bin");

    auto user = MakeJob(Ftp("big.bin"), dir.path());
    user->userName = peers.at("user");
    user->password = peers.at("password");
    // The kept part differs from the server's file, so a download that
    // ignored the resume point would show.
    const std::string expected = ReadFileBytes(www + "big.bin");
    const std::string kept(4000000, 'k');
    user->fileName = "big-ftp.bin";
    WriteFileBytes(dir / "big-ftp.bin", kept);
    user->receivedBytes = 4000000;
    ASSERT_TRUE(RunToEnd(*user, window, 60000));
    EXPECT_EQ(user->status, "Finished.");
    EXPECT_TRUE(ReadFileBytes(dir / "big-ftp.bin") == kept + expected.substr(4000000));

    auto wrong = MakeJob(Ftp("small.bin"), dir.path());
    wrong->userName = "tester";
    wrong->password = "wrong";
    ASSERT_TRUE(RunToEnd(*wrong, window));
    EXPECT_EQ(wrong->status, "Canceled.");
}

TEST_F(RealPeers, EveryProxyTypeCarriesHttpAndFtp) {
    struct Way {
        std::int32_t type;
        const char* port;
        bool logon;
    };
    for (const Way& way : {Way{net::kProxySocks4, "socks", false}, Way{net::kProxySocks5, "socks", false},
                           Way{net::kProxySocks5, "socksauth", true}, Way{net::kProxyHttp, "connect", true}}) {
        auto http = MakeJob(Http("small.bin"), dir.path());
        Proxy(*http, way.type, way.port, way.logon);
        http->fileName = "http" + std::to_string(way.type) + way.port;
        ExpectArrives(*http, "small.bin");
        auto ftp = MakeJob(Ftp("small.bin"), dir.path());
        Proxy(*ftp, way.type, way.port, way.logon);
        ftp->fileName = "ftp" + std::to_string(way.type) + way.port;
        ExpectArrives(*ftp, "small.bin");
    }
}

TEST_F(RealPeers, ProxiesRefuseWrongCredentials) {
    for (const char* port : {"socksauth", "connect"}) {
        auto job = MakeJob(Http("small.bin"), dir.path());
        Proxy(*job, std::string(port) == "connect" ? net::kProxyHttp : net::kProxySocks5, port, true);
        job->proxy.Password = "wrong";
        job->fileName = "refused";
        ASSERT_TRUE(RunToEnd(*job, window));
        EXPECT_EQ(job->status, SystemErrorText(WSAECONNREFUSED)) << port;
        EXPECT_FALSE(FileExists(dir / "refused"));
    }
    // Without credentials the user name proxy has no method to offer.
    auto job = MakeJob(Http("small.bin"), dir.path());
    Proxy(*job, net::kProxySocks5, "socksauth", false);
    job->fileName = "refused";
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, SystemErrorText(WSAECONNREFUSED));
}
