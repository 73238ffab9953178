// The "Download" and "Proxy" settings as a job takes them when it starts.
#pragma once
#include "jobs/download_job.h"

void LoadProxySettings(ProxySnapshot& proxy);
// Sets the job's userAgent to the chosen entry of "Agents"; without such an
// entry the job keeps its own, and an empty result becomes "Archivon/1.10".
void LoadUserAgent(DownloadJob& job);
