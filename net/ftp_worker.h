// Fetches one file from an FTP server in passive mode, with resume, inside
// the job's worker thread. Both connections go through the proxy layer.
#pragma once
#include <string>

#include "jobs/download_job.h"
#include "net/ftp_reply.h"
#include "net/net_socket.h"

// The control connection: its socket and the reply bytes not taken yet.
struct FtpControl {
    NetSocket socket;
    net::FtpReplyBuffer pending;
};

// True when the whole file arrived. On false the last error is the system
// error behind the failure, or 0 when the server refused (its reply is then
// the job's status).
bool FtpDownload(DownloadJob& job);

// Reads one whole reply, shows it as the job's status and tells whether it
// starts with the expected code.
bool ReadFtpReply(DownloadJob& job, FtpControl& control, std::string& reply, const char* expectedCode);
