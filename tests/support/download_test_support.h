// Helpers of the download tests: the scripted peers (a Python program run
// natively beside Wine), the real peers started by scripts/peers.sh, and a
// message-only window that receives the workers' notifications.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jobs/download_job.h"
#include "tests/support/test_env.h"

// Linux path of a Windows path under Wine ("" when not under Wine).
std::string UnixPath(const std::string& windowsPath);
// The source folder this test program was built from.
std::string SourceFolder();

// Starts tests/servers/scripted_peer.py and stops it again.
class ScriptedPeer {
public:
    // withTls: also the HTTPS peers that need the real peers' certificates.
    explicit ScriptedPeer(bool withTls = false);
    ~ScriptedPeer();
    bool ok() const { return http != 0; }
    int http = 0, ftp = 0, socks = 0;
    int stuck = 0;  // connects to it never complete
    // Every port by name, those above and the TLS peers that answer a
    // ClientHello badly: tlsgarbage, tlscut, tlshuge, tlssilent; with the
    // real peers' certificates also tlsbodycut and tlsbodyhuge, which break
    // after the handshake, and tlsreneg, which asks to renegotiate.
    std::map<std::string, int> ports;
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(http) + path; }
};

// Ports of the real servers from peers/ports.env of the build folder;
// empty when scripts/peers.sh has not started them.
std::map<std::string, std::string> RealPeers();

// Receives jobEnded and jobProgress, and hands each jobProgress back to its
// job as the job manager does.
class NotifyWindow {
public:
    NotifyWindow();
    ~NotifyWindow();
    HWND hwnd() const { return hwnd_; }
    // Pumps until the job's jobEnded arrived; false on time-out.
    bool WaitForEnd(const DownloadJob& job, DWORD timeoutMs = 20000);
    int Count(UINT message, const DownloadJob* job = nullptr) const;
    std::vector<std::pair<UINT, const DownloadJob*>> received;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

// A fixture of `Base` with one scripted peer for its whole suite.
template <class Base>
class WithScriptedPeer : public Base {
protected:
    static void SetUpTestSuite() { peer = new ScriptedPeer; }
    static void TearDownTestSuite() {
        delete peer;
        peer = nullptr;
    }
    static inline ScriptedPeer* peer = nullptr;
};

// A test with one scripted peer for its whole suite, a fresh folder and a
// notification window per test.
class ScriptedPeerTest : public WithScriptedPeer<testing::Test> {
protected:
    void SetUp() override { ASSERT_TRUE(peer->ok()) << "scripted peer did not start"; }

    TempDir dir;
    NotifyWindow window;
};

// A job that writes into folder, with no proxy and a known user agent.
std::unique_ptr<DownloadJob> MakeJob(const std::string& url, const std::string& folder);
// Launches the job, waits for jobEnded and joins the worker.
bool RunToEnd(DownloadJob& job, NotifyWindow& window, DWORD timeoutMs = 20000);
// Sends the job through the real peers' proxy on the port named `port` in
// ports.env, with their test credentials when logon is set.
void UseRealPeerProxy(DownloadJob& job, const std::map<std::string, std::string>& peers, std::int32_t type,
                      const char* port, bool logon);
// Runs the job and expects the server file at serverFile (a path) to have
// arrived whole in folder under the job's file name.
void ExpectArrivesWhole(DownloadJob& job, NotifyWindow& window, const std::string& folder,
                        const std::string& serverFile);

// The 5000 bytes the scripted peers serve.
std::string ScriptedBody();

// A test against the real peers of scripts/peers.sh; skipped when they are
// not running. www is the Windows path of the folder they serve, with a
// trailing backslash.
class RealPeerTest : public testing::Test {
protected:
    void SetUp() override;
    // Runs the job and expects the named server file to have arrived whole.
    void ExpectArrives(DownloadJob& job, const std::string& file) {
        ExpectArrivesWhole(job, window, dir.path(), www + file);
    }

    std::map<std::string, std::string> peers;
    std::string www;
    TempDir dir;
    NotifyWindow window;
};
