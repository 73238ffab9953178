// Winsock must come before <windows.h>.
#include <winsock2.h>

#include "net/ftp_worker.h"

#include "common/paths.h"
#include "net/download_file.h"
#include "net/download_thread.h"
#include "net/proxy_connect.h"

namespace {

constexpr const char* kAnonymousPassword = "archivon@localhost";

bool Command(DownloadJob& job, FtpControl& control, const std::string& line, const char* expectedCode,
             std::string& reply) {
    const std::string text = line + "\r\n";
    if (!control.socket.SendAll(text.data(), text.size(), job.stop)) return false;
    return ReadFtpReply(job, control, reply, expectedCode);
}

// A refusal by the server: its reply is the status; no system error.
bool Refused() {
    SetLastError(0);
    return false;
}

// Receives until the data connection ends. False when stopped or when the
// file refused a block. A connection that ends with an error (a reset after
// the last byte is common) ends the transfer too: its code goes to
// endError, and the size check decides whether the file is whole.
bool ReceiveFile(DownloadJob& job, NetSocket& data, DownloadFile& file, DWORD& endError) {
    char buffer[4096];
    int ask = 1023;
    BlockWriter writer(job, file, true);
    for (;;) {
        const int n = data.Receive(buffer, ask, job.stop);
        ask = sizeof buffer;
        if (n < 0) {
            if (job.stop.seen()) return false;
            endError = static_cast<DWORD>(WSAGetLastError());
            return true;
        }
        if (n == 0) return true;
        std::uint32_t size = 0;
        if (!writer.Write(buffer, static_cast<std::uint32_t>(n), size)) return false;
        if (job.stop.Poll()) {
            SetLastError(0);
            return false;
        }
        if (size < static_cast<std::uint32_t>(n)) return true;
    }
}

}  // namespace

bool ReadFtpReply(DownloadJob& job, FtpControl& control, std::string& reply, const char* expectedCode) {
    reply.clear();
    for (;;) {
        switch (control.pending.Take(reply)) {
            case net::FtpReplyState::Complete:
                PostJobStatus(job, reply);
                return net::FtpReplyHasCode(reply, expectedCode) || Refused();
            case net::FtpReplyState::Bad:
                SetLastError(ERROR_INVALID_DATA);
                return false;
            case net::FtpReplyState::Incomplete: break;
        }
        char chunk[4096];
        const int n = control.socket.Receive(chunk, sizeof chunk, job.stop);
        if (n <= 0) {
            if (n == 0) SetLastError(WSAECONNRESET);
            return false;
        }
        control.pending.Append(chunk, static_cast<std::size_t>(n));
    }
}

bool FtpDownload(DownloadJob& job) {
    FtpControl control;
    std::string reply;
    ConnectTarget server;
    if (!control.socket.Create() || !ConnectViaProxy(control.socket, job, &server)) return false;
    if (!ReadFtpReply(job, control, reply, "220")) return false;
    if (!Command(job, control, "USER " + (job.userName.empty() ? std::string("anonymous") : job.userName), "331",
                 reply))
        return false;
    if (!Command(job, control, "PASS " + (job.password.empty() ? std::string(kAnonymousPassword) : job.password),
                 "230", reply))
        return false;
    // Servers commonly refuse REST while the type is still ASCII, which
    // would turn every resume into a full download.
    if (!Command(job, control, "TYPE I", "200", reply)) return false;
    const bool restAccepted = Command(job, control, "REST 5", "350", reply);
    if (!restAccepted) {
        if (GetLastError() != 0) return false;  // the connection failed, not the command
        auto guard = job.Lock();
        job.receivedBytes = 0;
    }
    if (!Command(job, control, "TYPE I", "200", reply)) return false;
    if (!Command(job, control, "SIZE " + job.objectPath, "213", reply)) return false;
    std::uint32_t size = 0;
    if (!net::ParseSizeReply(reply, size)) return Refused();
    {
        auto guard = job.Lock();
        job.totalBytes = size;
    }
    if (!Command(job, control, "TYPE I", "200", reply)) return false;
    if (!Command(job, control, "PASV", "227", reply)) return false;
    std::uint32_t announced = 0;  // not used: the data goes to the host of the control connection
    std::uint16_t port = 0;
    if (!net::ParsePasvReply(reply, announced, port)) return Refused();

    NetSocket data;
    if (!data.Create() || !ConnectAddressViaProxy(data, server, port, job.proxy, job)) return false;
    if (restAccepted && !Command(job, control, "REST " + std::to_string(job.receivedBytes), "350", reply))
        return false;
    if (!Command(job, control, "RETR " + job.objectPath, "150", reply)) {
        if (GetLastError() != 0 || !net::FtpReplyHasCode(reply, "125")) return false;
    }
    DownloadFile file;
    if (!file.Open(paths::Join(job.downloadFolder, job.fileName), job.receivedBytes)) return false;
    DWORD endError = 0;
    const bool ended = ReceiveFile(job, data, file, endError);
    const DWORD error = GetLastError();
    file.Close();
    data.Close();
    control.socket.Close();
    if (!ended) {
        SetLastError(job.stop.seen() ? 0 : error);
        return false;
    }
    if (job.receivedBytes < job.totalBytes) {
        SetLastError(endError);  // 0 for a plain early close
        return false;
    }
    return true;
}
