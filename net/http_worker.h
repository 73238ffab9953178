// The body of every download thread: waits for a slot, fetches the job's
// URL over HTTP/1.0, plain or over TLS (following redirects), or hands FTP
// URLs to FtpDownload, writes the file and posts progress and the end.
#pragma once
#include <windows.h>

#include "jobs/download_job.h"
#include "net/http_head.h"
#include "net/http_connection.h"

DWORD WINAPI HttpDownloadWorker(LPVOID job);

// Reads the reply head byte by byte. False for a malformed, endless or cut
// head, with the last error set; the connection is then closed.
bool ReadHttpReplyHead(HttpConnection& socket, net::HttpHeadReader& reader, DownloadJob& job);
