// Winsock must come before <windows.h>.
#include <winsock2.h>

#include "net/http_worker.h"

#include <vector>

#include "common/message_box.h"
#include "common/paths.h"
#include "net/download_file.h"
#include "net/download_thread.h"
#include "net/file_naming.h"
#include "net/ftp_worker.h"
#include "net/job_url.h"
#include "net/proxy_connect.h"

namespace {

constexpr int kReceiveBuffer = 4096;
// A TLS record's worth of plain data, so that a record is written at once.
constexpr int kSecureReceiveBuffer = 16 * 1024;
constexpr int kEmptyReceivesAllowed = 5;

const char* const kFinished = "Finished.";
const char* const kCanceled = "Canceled.";
const char* const kFailed = "Failed.";

enum class Pass { Again, Over };

// Ends the run with the text of a failure, or as cancelled when a stop
// request caused it.
Pass EndWithError(DownloadJob& job, const std::string& text) {
    PostJobEnd(job, job.stop.seen() ? kCanceled : text);
    return Pass::Over;
}

// The name of a file the job has not named yet; "" when none.
std::string ChooseFileName(const DownloadJob& job, const net::HttpReplyHead& head) {
    std::string name = net::NameFromObjectPath(job.serverHost, job.objectPath,
                                               net::FindHeaderLine(head, "Content-Location: "));
    if (!name.empty()) return name;
    const std::string* type = net::FindHeaderLine(head, "Content-Type: ");
    if (!type) return "";
    char folder[MAX_PATH + 1], temporary[MAX_PATH + 1];
    if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "rel", 0, temporary)) return "";
    return net::NameFromTemporary(temporary, *type);
}

struct Transfer {
    bool cancelled = false;
    bool failed = false;
    std::string text;  // of a failure
};

// Moves the body into the file.
Transfer MoveBody(DownloadJob& job, HttpConnection& connection, DownloadFile& file, bool lengthKnown) {
    Transfer t;
    std::vector<char> buffer(connection.secure() ? kSecureReceiveBuffer : kReceiveBuffer);
    const int bufferSize = static_cast<int>(buffer.size());
    BlockWriter writer(job, file, false);
    int empties = 0;
    bool lastHadData = false;
    while (!lengthKnown || job.receivedBytes < job.totalBytes) {
        const int n = connection.Receive(buffer.data(), bufferSize, job.stop);
        if (n < 0) {
            if (job.stop.seen()) {
                t.cancelled = true;
            } else {
                t.failed = true;
                t.text = connection.FailureText();
            }
            return t;
        }
        if (n == 0) {
            lastHadData = false;
            if (!lengthKnown) break;
            if (++empties >= kEmptyReceivesAllowed || !job.stop.Pause(NetTuning().emptyReceivePauseMs)) {
                t.cancelled = true;
                return t;
            }
            continue;
        }
        empties = 0;
        lastHadData = true;
        std::uint32_t size = 0;
        if (!writer.Write(buffer.data(), static_cast<std::uint32_t>(n), size)) {
            t.failed = true;
            t.text = SystemErrorText(GetLastError());
            return t;
        }
        if (job.stop.Poll()) {
            t.cancelled = true;
            return t;
        }
        if (size < static_cast<std::uint32_t>(n)) break;  // the 4 GB limit of the counters
    }
    std::uint32_t length = job.totalBytes;
    if (!lengthKnown) {
        auto guard = job.Lock();
        job.totalBytes = length = job.receivedBytes;
    }
    if (!lastHadData && job.receivedBytes < length) {
        t.cancelled = true;
        return t;
    }
    if (!file.SetLength(length)) {
        t.failed = true;
        t.text = SystemErrorText(GetLastError());
        return t;
    }
    auto guard = job.Lock();
    if (job.receivedBytes > length) job.receivedBytes = length;
    return t;
}

// Connects (straight or through the proxy, then TLS for https) and sends
// the GET request.
bool SendRequest(DownloadJob& job, HttpConnection& connection) {
    if (!connection.Open(job)) return false;
    const std::string request = net::BuildHttpRequest(job.objectPath, job.serverHost, job.userAgent, job.receivedBytes);
    return connection.SendAll(request.data(), request.size(), job.stop);
}

// What the reply status made of the run.
enum class Reply {
    Body,      // a body follows for the file
    Redirect,  // the next pass asks the new URL
    Refused,   // the server would not give the file: nothing is written
    Unusable,  // a range the kept file cannot take, or a redirect that
               // cannot be followed: nothing is written, the run is cancelled
};

// 200: the whole file, from its first byte.
Reply TakeWholeFile(DownloadJob& job, const net::HttpReplyHead& head, bool& lengthKnown) {
    auto guard = job.Lock();
    job.receivedBytes = 0;
    job.totalBytes = head.contentLength;
    lengthKnown = head.hasContentLength;
    return Reply::Body;
}

// 206: the body continues the kept file, which only a range that starts at
// the resume offset does; a total below what is kept would cut the file.
Reply TakePartialFile(DownloadJob& job, const net::HttpReplyHead& head, bool& lengthKnown) {
    const std::string* range = net::FindHeaderLine(head, "Content-Range: ");
    const auto total = range ? net::ContentRangeTotal(*range) : std::nullopt;
    if (range && net::ContentRangeStart(*range) != job.receivedBytes) return Reply::Unusable;
    if (total && *total < job.receivedBytes) return Reply::Unusable;
    auto guard = job.Lock();
    if (total) {
        job.totalBytes = *total;
    } else if (head.hasContentLength && head.contentLength <= 0xFFFFFFFFu - job.receivedBytes) {
        job.totalBytes = job.receivedBytes + head.contentLength;
    } else {
        lengthKnown = false;
    }
    return Reply::Body;
}

// 302: the URL of the Location line, or the same one again without it.
Reply TakeRedirect(DownloadJob& job, const net::HttpReplyHead& head) {
    if (const auto target = net::RedirectTarget(head.rawHead)) {
        auto guard = job.Lock();
        job.startedUrl = *target;
    }
    return ParseJobUrl(job) ? Reply::Redirect : Reply::Unusable;
}

Reply TakeStatus(DownloadJob& job, const net::HttpReplyHead& head, bool& lengthKnown) {
    switch (head.statusCode) {
        case 200: return TakeWholeFile(job, head, lengthKnown);
        case 206: return TakePartialFile(job, head, lengthKnown);
        case 302: return TakeRedirect(job, head);
        default: return Reply::Refused;
    }
}

// Names the file when the job has none yet; the name is reserved at once.
bool NameTheFile(DownloadJob& job, const net::HttpReplyHead& head) {
    if (!job.fileName.empty()) return true;
    std::string name = ChooseFileName(job, head);
    if (name.empty()) return false;
    name = ReserveDownloadName(job.downloadFolder, std::move(name));
    auto guard = job.Lock();
    job.fileName = std::move(name);
    return true;
}

// Opens the file and moves the body into it; ends the run.
Pass ReceiveIntoFile(DownloadJob& job, HttpConnection& connection, bool lengthKnown) {
    DownloadFile file;
    if (!file.Open(paths::Join(job.downloadFolder, job.fileName), job.receivedBytes)) {
        // A worker never shows a window: the error travels with the job.
        const DWORD error = GetLastError();
        {
            auto guard = job.Lock();
            job.fileError = error;
        }
        PostJobEnd(job, SystemErrorText(error));
        return Pass::Over;
    }
    const Transfer t = MoveBody(job, connection, file, lengthKnown);
    file.Close();
    connection.Close();
    if (t.failed) return EndWithError(job, t.text);
    PostJobEnd(job, t.cancelled ? kCanceled : kFinished);
    return Pass::Over;
}

// One HTTP request: request, reply head, status, file name, body.
Pass HttpPass(DownloadJob& job) {
    ClampResumeToFile(job);
    HttpConnection connection;
    if (!SendRequest(job, connection)) return EndWithError(job, connection.FailureText());
    net::HttpHeadReader reader;
    if (!ReadHttpReplyHead(connection, reader, job)) return EndWithError(job, connection.FailureText());
    bool lengthKnown = true;
    switch (TakeStatus(job, reader.head(), lengthKnown)) {
        case Reply::Body: break;
        case Reply::Redirect:
            connection.Close();
            if (!IsCancelled(job)) return Pass::Again;
            PostJobEnd(job, kCanceled);
            return Pass::Over;
        case Reply::Refused:
            // Like a job without a name: nothing of this run may be filed.
            PostJobEnd(job, kFailed);
            return Pass::Over;
        case Reply::Unusable:
            PostJobEnd(job, kCanceled);
            return Pass::Over;
    }
    if (!NameTheFile(job, reader.head())) {
        PostJobEnd(job, kCanceled);
        return Pass::Over;
    }
    return ReceiveIntoFile(job, connection, lengthKnown);
}

// An FTP URL: named after its path, fetched by FtpDownload.
void FtpPass(DownloadJob& job) {
    if (job.fileName.empty()) {
        std::string name = ReserveDownloadName(job.downloadFolder, net::FtpFileName(job.objectPath));
        auto guard = job.Lock();
        job.fileName = std::move(name);
    }
    ClampResumeToFile(job);
    SetLastError(0);
    if (FtpDownload(job)) {
        PostJobEnd(job, kFinished);
        return;
    }
    const DWORD error = GetLastError();
    if (error && !job.stop.seen()) PostJobStatus(job, SystemErrorText(error));
    PostJobEnd(job, kCanceled);
}

void RunPasses(DownloadJob& job) {
    for (;;) {
        switch (job.serviceType) {
            case net::kSchemeHttp:
            case net::kSchemeHttps:
                if (HttpPass(job) == Pass::Over) return;
                break;
            case net::kSchemeFtp:
                FtpPass(job);
                return;
            default:
                // Nothing was fetched: a name the job kept from an earlier
                // run must not be filed as this run's download.
                PostJobEnd(job, kFailed);
                return;
        }
    }
}

}  // namespace

bool ReadHttpReplyHead(HttpConnection& socket, net::HttpHeadReader& reader, DownloadJob& job) {
    // The head is taken byte by byte, but from a peeked block, so that the
    // body stays in the socket and a head costs a few calls, not one a byte.
    char block[kReceiveBuffer];
    for (;;) {
        const int n = socket.Peek(block, sizeof block, job.stop);
        if (n <= 0) {
            if (n == 0) WSASetLastError(WSAECONNRESET);
            socket.Close();
            return false;
        }
        int used = 0;
        net::HeadStep step = net::HeadStep::More;
        while (used < n && step == net::HeadStep::More) step = reader.Add(block[used++]);
        if (socket.Receive(block, used, job.stop) != used) {
            socket.Close();
            return false;
        }
        if (step == net::HeadStep::More) continue;
        if (step == net::HeadStep::Done && reader.Finish()) return true;
        socket.Close();
        WSASetLastError(ERROR_INVALID_DATA);
        return false;
    }
}

DWORD WINAPI HttpDownloadWorker(LPVOID param) {
    DownloadJob& job = *static_cast<DownloadJob*>(param);
    HANDLE waits[2] = {job.stopEvent.get(), DownloadSlots()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
    DownloadSlotLease slot;
    job.holdsSlot = true;
    RunPasses(job);
    return 0;
}
