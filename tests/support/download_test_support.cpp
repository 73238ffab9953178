#include <winsock2.h>

#include "common/win/handle.h"
#include "tests/support/download_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "net/download_thread.h"
#include "tests/support/test_env.h"

namespace {

class WinsockEnvironment : public testing::Environment {
public:
    void SetUp() override {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        // Tests should not wait seconds for what a short pause shows as well.
        NetTuning().emptyReceivePauseMs = 20;
    }
    void TearDown() override { WSACleanup(); }
};
testing::Environment* const winsock = testing::AddGlobalTestEnvironment(new WinsockEnvironment);

std::string ModuleFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.rfind('\\'));
}

std::string ReadText(const std::string& windowsPath) {
    std::ifstream in(windowsPath, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
    using Fn = char*(CDECL*)(LPCWSTR);
    static const auto fn =
        reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return "";
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unix = fn(wide);
    if (!unix) return "";
    std::string r(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return r;
}

std::string SourceFolder() {
    const std::string cache = ReadText(ModuleFolder() + "\\CMakeCache.txt");
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    const std::size_t at = cache.find(key);
    if (at == std::string::npos) return "";
    const std::size_t end = cache.find('\n', at);
    return cache.substr(at + key.size(), end - at - key.size());
}

ScriptedPeer::ScriptedPeer(bool withTls) {
    const std::string portsFile = ModuleFolder() + "\\tmp\\peer" + std::to_string(GetCurrentProcessId()) + "_" +
                                  std::to_string(GetTickCount()) + ".ports";
    DeleteFileA(portsFile.c_str());
    // The certificates of the real peers, when they were made, let it
    // serve HTTPS too.
    std::string command = "/usr/bin/python3 " + SourceFolder() + "/tests/servers/scripted_peer.py " +
                          UnixPath(portsFile);
    if (withTls) command += " " + UnixPath(ModuleFolder() + "\\peers\\tls");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    win::Handle thread(pi.hThread), process(pi.hProcess);
    for (int i = 0; i < 200 && !FileExists(portsFile); ++i) Sleep(25);
    std::istringstream in(ReadText(portsFile));
    std::string item;
    while (in >> item) {
        const std::size_t eq = item.find('=');
        const int port = std::stoi(item.substr(eq + 1));
        const std::string name = item.substr(0, eq);
        ports[name] = port;
        if (name == "http" || name == "ftp" || name == "socks" || name == "stuck")
            (name == "http" ? http : name == "ftp" ? ftp : name == "socks" ? socks : stuck) = port;
    }
    DeleteFileA(portsFile.c_str());
}

ScriptedPeer::~ScriptedPeer() {
    if (!http) return;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(0x7F000001);
    to.sin_port = htons(static_cast<u_short>(http));
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
        const char quit[] = "GET /quit HTTP/1.0\r\n\r\n";
        send(s, quit, sizeof quit - 1, 0);
        char c;
        recv(s, &c, 1, 0);
    }
    closesocket(s);
}

std::map<std::string, std::string> RealPeers() {
    std::map<std::string, std::string> peers;
    std::istringstream in(ReadText(ModuleFolder() + "\\peers\\ports.env"));
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) peers[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return peers;
}

NotifyWindow::NotifyWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ArchivonDownloadTestWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExA(0, "ArchivonDownloadTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), this);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NotifyWindow::~NotifyWindow() { DestroyWindow(hwnd_); }

LRESULT CALLBACK NotifyWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (message == jobEnded || message == jobProgress)) {
        auto* job = reinterpret_cast<DownloadJob*>(lParam);
        // As the job manager does: taken first, so later changes post anew.
        if (message == jobProgress) job->ProgressHandled();
        self->received.emplace_back(message, job);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool NotifyWindow::WaitForEnd(const DownloadJob& job, DWORD timeoutMs) {
    return PumpUntil([&] { return Count(jobEnded, &job) > 0; }, timeoutMs);
}

int NotifyWindow::Count(UINT message, const DownloadJob* job) const {
    int n = 0;
    for (const auto& [m, j] : received)
        if (m == message && (!job || j == job)) ++n;
    return n;
}

std::unique_ptr<DownloadJob> MakeJob(const std::string& url, const std::string& folder) {
    auto job = std::make_unique<DownloadJob>();
    job->url = url;
    job->downloadFolder = folder;
    job->userAgent = "ArchivonTest/1";
    return job;
}

bool RunToEnd(DownloadJob& job, NotifyWindow& window, DWORD timeoutMs) {
    job.notifyWindow = window.hwnd();
    if (!LaunchDownload(job)) return false;
    const bool ended = window.WaitForEnd(job, timeoutMs);
    if (!ended) {
        StopDownload(job);
        JoinStoppedWorker(job);
        return false;
    }
    WaitDownloadEnd(job);
    return true;
}

std::string ScriptedBody() {
    std::string body(5000, '\0');
    for (int i = 0; i < 5000; ++i) body[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return body;
}

void ExpectArrivesWhole(DownloadJob& job, NotifyWindow& window, const std::string& folder,
                        const std::string& serverFile) {
    ASSERT_TRUE(RunToEnd(job, window, 60000)) << job.url;
    EXPECT_EQ(job.status, "Finished.") << job.url;
    const std::string expected = ReadFileBytes(serverFile);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(job.receivedBytes, expected.size()) << job.url;
    EXPECT_TRUE(ReadFileBytes(folder + "\\" + job.fileName) == expected) << job.url << " via proxy " << job.proxy.Type;
}

void UseRealPeerProxy(DownloadJob& job, const std::map<std::string, std::string>& peers, std::int32_t type,
                      const char* port, bool logon) {
    job.proxy.Type = type;
    job.proxy.IPAddress = 0x7F000001;
    job.proxy.Port = std::stoi(peers.at(port));
    job.proxy.UsingLogon = logon;
    job.proxy.User = peers.at("user");
    job.proxy.Password = peers.at("password");
}

void RealPeerTest::SetUp() {
    peers = RealPeers();
    if (peers.empty()) GTEST_SKIP() << "real peers not running (scripts/peers.sh start BUILD)";
    www = ModuleFolder() + "\\peers\\www\\";
}
