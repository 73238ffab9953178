// HTTPS downloads: against nginx with certificates from a test authority
// (scripts/peers.sh), trusted in this prefix only by tests/tools/trust_test_ca,
// and against scripted peers that answer a ClientHello badly.
#include <winsock2.h>

#include <gtest/gtest.h>

#include "common/message_box.h"
#include "common/win/folder_enumerator.h"
#include "common/win/handle.h"
#include "net/download_thread.h"
#include "net/proxy_messages.h"
#include "net/tls_records.h"
#include "tests/support/download_test_support.h"
#include "tests/support/test_env.h"

namespace {

std::string ExeFolder() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path(exe);
    return path.substr(0, path.rfind('\\'));
}

// Runs a program of the build folder; its exit code, or -1.
int RunTool(std::string command) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    win::Handle thread(pi.hThread), process(pi.hProcess);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
}

// Names in a folder, "." and ".." aside.
int FilesIn(const std::string& folder) {
    win::FolderEnumerator files(folder);
    int count = 0;
    while (files.Next()) count += files.entry().cFileName[0] != '.';
    return count;
}

std::string Refusal(net::TlsFailure failure) { return net::TlsFailureText(failure); }

class Https : public RealPeerTest {
protected:
    void SetUp() override {
        RealPeerTest::SetUp();
        if (IsSkipped()) return;
        if (!peers.count("https")) GTEST_SKIP() << "the real peers serve no HTTPS";
        static const int trusted =
            RunTool("\"" + ExeFolder() + "\\trust_test_ca.exe\" \"" + ExeFolder() + "\\peers\\tls\\ca.der\"");
        ASSERT_EQ(trusted, 0) << "the test authority could not be trusted";
    }
    std::string Url(const char* server, const std::string& path, const char* host = "localhost") {
        return std::string("https://") + host + ":" + peers.at(server) + path;
    }
};

class BadTlsPeers : public ScriptedPeerTest {
protected:
    std::unique_ptr<DownloadJob> Job(const char* how) {
        auto job = MakeJob("https://127.0.0.1:" + std::to_string(peer->ports.at(how)) + "/file", dir.path());
        job->fileName = how;
        return job;
    }
};

}  // namespace

TEST_F(Https, WholeResumedAndRedirectedBothWays) {
    auto job = MakeJob(Url("https", "/big.bin"), dir.path());
    ExpectArrives(*job, "big.bin");
    EXPECT_EQ(job->fileName, "big.bin");

    // The kept part differs from the server's, so a resume that ignored the
    // offset would show.
    const std::string expected = ReadFileBytes(www + "big.bin");
    WriteFileBytes(dir / "big.bin", std::string(3000001, 'k') + "tail of an older run");
    job->receivedBytes = 3000001;
    ASSERT_TRUE(RunToEnd(*job, window, 60000));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_TRUE(ReadFileBytes(dir / "big.bin") == std::string(3000001, 'k') + expected.substr(3000001));

    auto up = MakeJob("http://127.0.0.1:" + peers.at("http") + "/to-https", dir.path());
    up->fileName = "up.bin";
    ExpectArrives(*up, "small.bin");
    EXPECT_EQ(up->startedUrl, Url("https", "/small.bin"));
    auto down = MakeJob(Url("https", "/to-http"), dir.path());
    down->fileName = "down.bin";
    ExpectArrives(*down, "small.bin");
    EXPECT_EQ(down->startedUrl, "http://127.0.0.1:" + peers.at("http") + "/small.bin");
}

TEST_F(Https, ThroughConnectAndSocks5Proxies) {
    for (auto [type, port] : {std::pair{net::kProxyHttp, "connect"}, std::pair{net::kProxySocks5, "socks"}}) {
        auto job = MakeJob(Url("https", "/small.bin"), dir.path());
        UseRealPeerProxy(*job, peers, type, port, type == net::kProxyHttp);
        job->fileName = std::string("via-") + port;
        ExpectArrives(*job, "small.bin");
    }
}

TEST_F(Https, RefusedServersWriteNothing) {
    struct Case {
        const char* server;
        const char* host;
        net::TlsFailure failure;
    };
    for (const Case& c : {Case{"https", "127.0.0.1", net::TlsFailure::NameMismatch},
                          Case{"https_wrongname", "localhost", net::TlsFailure::NameMismatch},
                          Case{"https_expired", "localhost", net::TlsFailure::Expired},
                          Case{"https_selfsigned", "localhost", net::TlsFailure::UntrustedRoot},
                          Case{"https_partial", "localhost", net::TlsFailure::IncompleteChain},
                          Case{"https_tls10", "localhost", net::TlsFailure::OldProtocol}}) {
        auto job = MakeJob(Url(c.server, "/small.bin", c.host), dir.path());
        ASSERT_TRUE(RunToEnd(*job, window)) << c.server;
        EXPECT_EQ(job->status, Refusal(c.failure)) << c.server << " as " << c.host;
        EXPECT_EQ(job->receivedBytes, 0u) << c.server;
        EXPECT_EQ(FilesIn(dir.path()), 0) << c.server;
    }
    // A kept part stays as it was.
    auto kept = MakeJob(Url("https_expired", "/small.bin"), dir.path());
    kept->fileName = "small.bin";
    WriteFileBytes(dir / "small.bin", "kept part");
    kept->receivedBytes = 9;
    ASSERT_TRUE(RunToEnd(*kept, window));
    EXPECT_EQ(kept->status, Refusal(net::TlsFailure::Expired));
    EXPECT_TRUE(ReadFileBytes(dir / "small.bin") == "kept part");
}

TEST_F(BadTlsPeers, BadAnswersToTheHelloEndWithAReason) {
    const DWORD saved = NetTuning().idleMs;
    NetTuning().idleMs = 1500;  // the oversized record is followed by silence
    for (auto [how, failure] : {std::pair{"tlsgarbage", net::TlsFailure::NotTls},
                                std::pair{"tlscut", net::TlsFailure::CutRecord},
                                std::pair{"tlshuge", net::TlsFailure::RecordTooLong}}) {
        auto job = Job(how);
        const DWORD started = GetTickCount();
        ASSERT_TRUE(RunToEnd(*job, window, 5000)) << how;
        EXPECT_LT(GetTickCount() - started, 1000u) << how;
        EXPECT_EQ(job->status, Refusal(failure)) << how;
        EXPECT_FALSE(FileExists(dir / how)) << how;
    }
    auto silent = Job("tlssilent");
    ASSERT_TRUE(RunToEnd(*silent, window, 5000));
    NetTuning().idleMs = saved;
    EXPECT_EQ(silent->status, SystemErrorText(WSAETIMEDOUT));
    EXPECT_FALSE(FileExists(dir / "tlssilent"));
}

TEST_F(BadTlsPeers, StopDuringAHandshakeThatNeverCompletes) {
    auto job = Job("tlssilent");
    job->notifyWindow = window.hwnd();
    ASSERT_TRUE(LaunchDownload(*job));
    PumpFor(300);
    const DWORD asked = GetTickCount();
    ASSERT_TRUE(StopDownload(*job));
    ASSERT_TRUE(window.WaitForEnd(*job, 3000));
    EXPECT_LT(GetTickCount() - asked, 1000u);
    WaitDownloadEnd(*job);
    EXPECT_EQ(job->status, "Canceled.");
    EXPECT_FALSE(FileExists(dir / "tlssilent"));
}

TEST_F(Https, BodyCutMidRecordOrFollowedByAnOversizedOne) {
    ScriptedPeer peer(true);
    ASSERT_TRUE(peer.ok());
    ASSERT_TRUE(peer.ports.count("tlsbodycut")) << "the scripted peer found no certificates";
    for (auto [how, failure] : {std::pair{"tlsbodycut", net::TlsFailure::CutRecord},
                                std::pair{"tlsbodyhuge", net::TlsFailure::RecordTooLong}}) {
        auto job = MakeJob("https://localhost:" + std::to_string(peer.ports.at(how)) + "/file", dir.path());
        job->fileName = how;
        ASSERT_TRUE(RunToEnd(*job, window, 5000)) << how;
        EXPECT_EQ(job->status, Refusal(failure)) << how;
        // What came whole stays for a resume; nothing past it is written.
        EXPECT_EQ(job->receivedBytes, 3000u) << how;
        EXPECT_EQ(ReadFileBytes(dir / how).size(), 3000u) << how;
    }
}

TEST_F(Https, ARenegotiationRequestEndsTheJob) {
    ScriptedPeer peer(true);
    ASSERT_TRUE(peer.ok());
    ASSERT_NE(peer.ports["tlsreneg"], 0) << "openssl s_server did not start";
    auto job = MakeJob("https://localhost:" + std::to_string(peer.ports.at("tlsreneg")) + "/file", dir.path());
    job->fileName = "reneg";
    ASSERT_TRUE(RunToEnd(*job, window, 5000));
    EXPECT_EQ(job->status, Refusal(net::TlsFailure::Renegotiation));
    EXPECT_EQ(ReadFileBytes(dir / "reneg"), "first line\n");
}
