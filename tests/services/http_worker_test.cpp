#include <winsock2.h>

#include <gtest/gtest.h>

#include "common/message_box.h"
#include "net/download_thread.h"
#include "tests/support/download_test_support.h"
#include "tests/support/test_env.h"

namespace {

class HttpWorker : public ScriptedPeerTest {
protected:
    std::unique_ptr<DownloadJob> Job(const std::string& path) { return MakeJob(peer->Url(path), dir.path()); }
};

}  // namespace

TEST_F(HttpWorker, FirstDownloadSendsRangeZeroAndNamesTheFile) {
    auto job = Job("/echo");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(job->fileName, "echo");
    const std::string expected = "GET /echo HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: */*\r\nUser-Agent: ArchivonTest/1\r\n"
                                 "Pragma: no-cache\r\nConnection: Close\r\nRange: bytes=0-\r\n\r\n";
    EXPECT_EQ(ReadFileBytes(dir / "echo"), expected);
    EXPECT_EQ(job->receivedBytes, expected.size());
    EXPECT_EQ(job->totalBytes, expected.size());
    EXPECT_EQ(window.Count(jobEnded, job.get()), 1);
}

TEST_F(HttpWorker, ResumeWith206CutsAndContinues) {
    const std::string body = ScriptedBody();
    // A previous run left 1000 bytes and garbage after them; the resume
    // keeps the 1000 and asks for the rest.
    const std::string kept(1000, 'k');
    WriteFileBytes(dir / "part.bin", kept + std::string(3000, 'x'));
    auto job = Job("/resume206");
    job->fileName = "part.bin";
    job->receivedBytes = 1000;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(job->totalBytes, 5000u);
    EXPECT_EQ(job->receivedBytes, 5000u);
    EXPECT_EQ(ReadFileBytes(dir / "part.bin"), kept + body.substr(1000));
}

TEST_F(HttpWorker, ResumeAnsweredWith200StartsOver) {
    WriteFileBytes(dir / "f.zip", std::string(8000, 'x'));
    auto job = Job("/resume200");
    job->fileName = "f.zip";
    job->receivedBytes = 1000;
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "f.zip"), ScriptedBody());
}

TEST_F(HttpWorker, RedirectsWithAndWithoutLocation) {
    auto job = Job("/redirect");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(job->startedUrl, peer->Url("/resume200"));
    EXPECT_EQ(job->objectPath, "/resume200");
    EXPECT_EQ(job->fileName, "resume200");
    EXPECT_EQ(ReadFileBytes(dir / "resume200"), ScriptedBody());

    // Without a Location the same URL is asked again until the answer changes.
    auto again = Job("/redirect-noloc");
    ASSERT_TRUE(RunToEnd(*again, window));
    EXPECT_EQ(again->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "redirect-noloc"), ScriptedBody());
}

TEST_F(HttpWorker, NotFoundFinishesWithoutAFile) {
    auto job = Job("/missing");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Failed.");  // no file name was chosen
    EXPECT_FALSE(FileExists(dir / "missing"));
    // A name kept from an earlier run changes nothing: a refusal is no
    // success, or the manager would file the stale file.
    WriteFileBytes(dir / "named", "earlier run");
    auto named = Job("/missing");
    named->fileName = "named";
    ASSERT_TRUE(RunToEnd(*named, window));
    EXPECT_EQ(named->status, "Failed.");
    EXPECT_EQ(ReadFileBytes(dir / "named"), "earlier run");
    auto other = Job("/x");
    other->url = "gopher://127.0.0.1/x";
    ASSERT_TRUE(RunToEnd(*other, window));
    EXPECT_EQ(window.Count(jobProgress, other.get()), 0);  // nothing was even tried
    EXPECT_EQ(other->status, "Failed.");
    other->fileName = "named";
    ASSERT_TRUE(RunToEnd(*other, window));
    EXPECT_EQ(other->status, "Failed.");
}

TEST_F(HttpWorker, UrlsWithControlBytesAreNeverSent) {
    const std::string ftp = "ftp://127.0.0.1:" + std::to_string(peer->ftp);
    for (const std::string& url :
         {peer->Url("/echo\r\nX-Injected: 1"), peer->Url("/echo\nX"), peer->Url(std::string("/echo\0x", 7)),
          peer->Url("/echo\x7f"), "\t" + peer->Url("/echo"), ftp + "/a.zip\r\nDELE a.zip"}) {
        auto job = MakeJob(url, dir.path());
        job->notifyWindow = window.hwnd();
        EXPECT_FALSE(LaunchDownload(*job)) << url;
        EXPECT_TRUE(IsDownloadIdle(*job)) << url;
        EXPECT_EQ(job->status, "The URL is invalid.") << url;
    }
    PumpFor(100);
    EXPECT_TRUE(window.received.empty());
    // A redirect to such a URL is not followed either.
    auto job = Job("/redirect-ctl");
    job->fileName = "r";
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Canceled.");
    EXPECT_EQ(job->serviceType, 0u);
    EXPECT_FALSE(FileExists(dir / "r"));
}

TEST_F(HttpWorker, EarlyCloseKeepsThePartForAResume) {
    auto job = Job("/early-close");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Canceled.");
    EXPECT_EQ(job->receivedBytes, 2000u);
    EXPECT_EQ(job->totalBytes, 5000u);
    EXPECT_EQ(ReadFileBytes(dir / "early-close"), ScriptedBody().substr(0, 2000));
}

TEST_F(HttpWorker, HeadInPiecesAndBodyWithoutLength) {
    auto job = Job("/split-head");
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "split-head"), ScriptedBody());
    auto open = Job("/no-length");
    ASSERT_TRUE(RunToEnd(*open, window));
    EXPECT_EQ(open->status, "Finished.");
    EXPECT_EQ(open->totalBytes, 3000u);
    EXPECT_EQ(ReadFileBytes(dir / "no-length"), ScriptedBody().substr(0, 3000));
}

TEST_F(HttpWorker, HostileHeadsEndWithAnErrorText) {
    for (const char* path : {"/garbage", "/endless", "/huge-length"}) {
        auto job = Job(path);
        job->fileName = path + 1;
        ASSERT_TRUE(RunToEnd(*job, window)) << path;
        EXPECT_EQ(job->status, SystemErrorText(ERROR_INVALID_DATA)) << path;
        EXPECT_FALSE(FileExists(dir / job->fileName)) << path;
    }
}

TEST_F(HttpWorker, NamesFromTypeAndImagePaths) {
    auto page = Job("/dir/");
    ASSERT_TRUE(RunToEnd(*page, window));
    ASSERT_EQ(page->fileName.substr(0, 3), "rel");
    EXPECT_EQ(page->fileName.substr(page->fileName.size() - 4), ".htm");
    for (char c : page->fileName) EXPECT_FALSE(c >= 'A' && c <= 'Z') << page->fileName;
    EXPECT_TRUE(FileExists(dir / page->fileName));
    auto image = Job("/pics/a.GIF");
    ASSERT_TRUE(RunToEnd(*image, window));
    EXPECT_EQ(image->fileName, "127.0.0.1_pics_a.GIF");
}

TEST_F(HttpWorker, SilentServerStopsPromptlyAndTimesOut) {
    auto job = Job("/silent");
    job->notifyWindow = window.hwnd();
    ASSERT_TRUE(LaunchDownload(*job));
    ASSERT_TRUE(PumpUntil([&] { return window.Count(jobProgress, job.get()) > 0; }));
    PumpFor(300);
    // Waiting for the head, the job shows where it connected.
    EXPECT_EQ(job->Progress().status, "Connecting to 127.0.0.1:" + std::to_string(peer->http));
    const DWORD asked = GetTickCount();
    ASSERT_TRUE(StopDownload(*job));
    ASSERT_TRUE(window.WaitForEnd(*job, 3000));
    EXPECT_LT(GetTickCount() - asked, 1000u);
    WaitDownloadEnd(*job);
    EXPECT_TRUE(IsDownloadIdle(*job));
    EXPECT_FALSE(StopDownload(*job));

    // Without a stop the idle time-out ends it with the system's text.
    const DWORD saved = NetTuning().idleMs;
    NetTuning().idleMs = 500;
    auto quiet = Job("/silent");
    quiet->fileName = "quiet";  // keeps the end text from being replaced
    ASSERT_TRUE(RunToEnd(*quiet, window, 5000));
    NetTuning().idleMs = saved;
    EXPECT_EQ(quiet->status, SystemErrorText(WSAETIMEDOUT));
}

TEST_F(HttpWorker, ConnectThatNeverCompletes) {
    const std::string url = "http://127.0.0.1:" + std::to_string(peer->stuck) + "/x";
    auto job = MakeJob(url, dir.path());
    job->fileName = "x";
    job->notifyWindow = window.hwnd();
    ASSERT_TRUE(LaunchDownload(*job));
    PumpFor(300);
    const DWORD asked = GetTickCount();
    StopDownload(*job);
    ASSERT_TRUE(window.WaitForEnd(*job, 3000));
    EXPECT_LT(GetTickCount() - asked, 1000u);
    WaitDownloadEnd(*job);
    EXPECT_EQ(job->status, "Canceled.");

    const DWORD saved = NetTuning().connectMs;
    NetTuning().connectMs = 300;
    auto late = MakeJob(url, dir.path());
    late->fileName = "y";
    ASSERT_TRUE(RunToEnd(*late, window, 5000));
    NetTuning().connectMs = saved;
    EXPECT_EQ(late->status, SystemErrorText(WSAETIMEDOUT));
}

TEST_F(HttpWorker, UnresolvableHost) {
    for (std::int32_t type : {0, 2}) {  // resolved by the client: direct and SOCKS 4
        auto job = MakeJob("http://no-such-host.invalid/x", dir.path());
        job->fileName = "x";
        job->proxy.Type = type;
        job->proxy.IPAddress = 0x7F000001;
        job->proxy.Port = peer->socks;
        ASSERT_TRUE(RunToEnd(*job, window));
        EXPECT_EQ(job->status, SystemErrorText(WSAHOST_NOT_FOUND)) << type;
    }
}

TEST_F(HttpWorker, RefusedConnectionAndUnwritableFolder) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(0x7F000001);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    closesocket(s);  // nobody listens on that port now
    auto job = MakeJob("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/x", dir.path());
    job->fileName = "x";
    ASSERT_TRUE(RunToEnd(*job, window));
    EXPECT_EQ(job->status, SystemErrorText(WSAECONNREFUSED));

    MessageBoxRecorder boxes;
    auto lost = Job("/resume206");
    lost->downloadFolder = dir / "no-such-folder";
    lost->fileName = "f";
    lost->receivedBytes = 10;
    ASSERT_TRUE(RunToEnd(*lost, window));
    EXPECT_EQ(lost->status, SystemErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(lost->receivedBytes, 10u);
    // The worker shows no window: the error travels with the job to the
    // window thread.
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(lost->fileError, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(HttpWorker, PartialFilesAreNeverCutBelowWhatIsThere) {
    // A 206 whose total is below what was kept, or whose range does not
    // start at the resume point, ends without touching the file.
    const std::string kept = std::string(1000, 'k') + "tail";
    for (const char* path : {"/lying-range", "/shifted-range"}) {
        WriteFileBytes(dir / "keep.bin", kept);
        auto lying = Job(path);
        lying->fileName = "keep.bin";
        lying->receivedBytes = 1000;
        ASSERT_TRUE(RunToEnd(*lying, window)) << path;
        EXPECT_EQ(lying->status, "Canceled.") << path;
        EXPECT_EQ(lying->receivedBytes, 1000u) << path;
        EXPECT_EQ(ReadFileBytes(dir / "keep.bin"), kept) << path;
    }

    // A partial file cut behind the program's back resumes from its length.
    const std::string body = ScriptedBody();
    WriteFileBytes(dir / "short.bin", body.substr(0, 500));
    auto shortened = Job("/resume206");
    shortened->fileName = "short.bin";
    shortened->receivedBytes = 1000;
    ASSERT_TRUE(RunToEnd(*shortened, window));
    EXPECT_EQ(shortened->status, "Finished.");
    EXPECT_EQ(ReadFileBytes(dir / "short.bin"), body);
}

TEST_F(HttpWorker, ServerNamesNeverReplaceFilesInTheFolder) {
    auto library = Job("/plan.dll");
    ASSERT_TRUE(RunToEnd(*library, window));
    EXPECT_EQ(library->fileName, "plan.dll_");
    EXPECT_FALSE(FileExists(dir / "plan.dll"));

    WriteFileBytes(dir / "a.zip", "earlier download");
    auto again = Job("/a.zip");
    ASSERT_TRUE(RunToEnd(*again, window));
    EXPECT_EQ(again->fileName, "a[1].zip");
    EXPECT_EQ(ReadFileBytes(dir / "a.zip"), "earlier download");
    EXPECT_EQ(ReadFileBytes(dir / "a[1].zip"), ScriptedBody());
}
