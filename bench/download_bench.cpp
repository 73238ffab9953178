// Download throughput of the real worker against a bare Winsock loop that
// does the same 4096-byte receives into a file, and a burst of parallel jobs
// with total time and peak memory. For an https URL the reference is the
// worker itself fetching the same file over plain HTTP (--plain-url).
//
// download_bench URL [--user U] [--password P] [--proxy TYPE IP PORT]
//                    [--proxy-login USER PASSWORD] [--parallel-url URL]
//                    [--jobs N] [--rounds N] [--folder DIR] [--plain-url URL]
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/win/handle.h"
#include "common/paths.h"
#include "jobs/download_job.h"
#include "net/download_thread.h"
#include "net/http_head.h"
#include "net/job_url.h"

namespace {

struct Options {
    std::string url, user, password, parallelUrl, folder, plainUrl;
    ProxySnapshot proxy;
    int jobs = 50;
    int rounds = 3;
};

double Seconds(LARGE_INTEGER from) {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Takes the notifications as the job manager does.
LRESULT CALLBACK NotifyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == jobProgress) {
        auto* job = reinterpret_cast<DownloadJob*>(lParam);
        job->ProgressHandled();
        (void)job->Progress();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MessageWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ArchivonBenchWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

std::unique_ptr<DownloadJob> NewJob(const Options& o, const std::string& url, const std::string& name, HWND window) {
    auto job = std::make_unique<DownloadJob>();
    job->url = url;
    job->userName = o.user;
    job->password = o.password;
    job->proxy = o.proxy;
    job->userAgent = "ArchivonBench/1";
    job->downloadFolder = o.folder;
    job->fileName = name;
    job->notifyWindow = window;
    return job;
}

// Runs the jobs to their end, pumping the notifications as a window would.
bool RunJobs(std::vector<std::unique_ptr<DownloadJob>>& jobs) {
    for (auto& job : jobs)
        if (!LaunchDownload(*job)) return false;
    std::vector<HANDLE> threads;
    for (auto& job : jobs) threads.push_back(job->worker.get());
    // As a message loop would: a message wakes it for that message only;
    // whether all threads ended is asked when one ended or time passed.
    const DWORD count = static_cast<DWORD>(std::min<std::size_t>(threads.size(), 63));
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(count, threads.data(), FALSE, 50, QS_ALLINPUT);
        Pump();
        if (woke == WAIT_OBJECT_0 + count) continue;
        if (std::all_of(jobs.begin(), jobs.end(), [](auto& j) { return WorkerHasEnded(*j); })) break;
    }
    Pump();
    bool ok = true;
    for (auto& job : jobs) {
        WaitDownloadEnd(*job);
        if (job->status != "Finished.") {
            std::fprintf(stderr, "%s: %s\n", job->url.c_str(), job->status.c_str());
            ok = false;
        }
    }
    return ok;
}

// The reference: connect, send the same request, receive 4096 bytes at a
// time with blocking calls and write them, head and all, into a file.
bool BareLoop(const Options& o, std::uint64_t& bytes) {
    net::UrlParts parts;
    if (!net::SplitJobUrl(net::NormaliseJobUrl(o.url), parts) || parts.serviceType != net::kSchemeHttp) return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(parts.host.c_str());
    to.sin_port = htons(parts.port);
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) return false;
    const std::string request = net::BuildHttpRequest(parts.objectPath, parts.host, "ArchivonBench/1", 0);
    send(s, request.data(), static_cast<int>(request.size()), 0);
    win::File file = win::File::Open(paths::Join(o.folder, "bare.bin"), GENERIC_WRITE, 0, CREATE_ALWAYS);
    char buffer[4096];
    bytes = 0;
    int n;
    while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) {
        file.Write(buffer, static_cast<std::size_t>(n));
        bytes += static_cast<std::uint64_t>(n);
    }
    file.Close();
    closesocket(s);
    return true;
}

bool Parse(int argc, char** argv, Options& o) {
    if (argc < 2) return false;
    o.url = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&](int k) { return i + k < argc; };
        if (a == "--user" && next(1)) o.user = argv[++i];
        else if (a == "--password" && next(1)) o.password = argv[++i];
        else if (a == "--parallel-url" && next(1)) o.parallelUrl = argv[++i];
        else if (a == "--jobs" && next(1)) o.jobs = std::atoi(argv[++i]);
        else if (a == "--rounds" && next(1)) o.rounds = std::atoi(argv[++i]);
        else if (a == "--folder" && next(1)) o.folder = argv[++i];
        else if (a == "--plain-url" && next(1)) o.plainUrl = argv[++i];
        else if (a == "--proxy" && next(3)) {
            o.proxy.Type = std::atoi(argv[++i]);
            o.proxy.IPAddress = ntohl(inet_addr(argv[++i]));
            o.proxy.Port = std::atoi(argv[++i]);
        } else if (a == "--proxy-login" && next(2)) {
            o.proxy.UsingLogon = 1;
            o.proxy.User = argv[++i];
            o.proxy.Password = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: download_bench URL [--user U] [--password P] [--proxy TYPE IP PORT]\n"
                             "       [--proxy-login USER PASSWORD] [--parallel-url URL] [--jobs N] [--rounds N]\n"
                             "       [--folder DIR] [--plain-url URL]\n");
        return 2;
    }
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    if (o.folder.empty()) {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        o.folder = paths::Join(tmp, "archivon-bench");
    }
    CreateDirectoryA(o.folder.c_str(), nullptr);
    const HWND window = MessageWindow();

    // Each round runs both, in turns first, and gives a ratio of its own: on
    // a shared machine the load moves between rounds more than within one.
    double bestWorker = 0, bestBare = 0;
    std::vector<double> ratios;
    std::uint64_t size = 0;
    // MB/s of the worker on url, 0 on failure.
    auto workerRate = [&](const std::string& url, std::uint64_t* bytes) {
        std::vector<std::unique_ptr<DownloadJob>> one;
        one.push_back(NewJob(o, url, "worker.bin", window));
        const LARGE_INTEGER t0 = Now();
        if (!RunJobs(one)) return 0.0;
        const double seconds = Seconds(t0);
        if (bytes) *bytes = one[0]->receivedBytes;
        return static_cast<double>(one[0]->receivedBytes) / seconds / 1e6;
    };
    const bool secure = !o.plainUrl.empty();
    const char* const reference = secure ? "plain HTTP worker" : "bare loop";
    for (int round = 0; round < o.rounds; ++round) {
        double worker = 0, bare = 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (round % 2 == 0)) {
                worker = workerRate(o.url, &size);
                if (worker == 0) return 1;
            } else if (secure) {
                bare = workerRate(o.plainUrl, nullptr);
            } else {
                std::uint64_t bareBytes = 0;
                const LARGE_INTEGER t0 = Now();
                if (BareLoop(o, bareBytes)) bare = static_cast<double>(bareBytes) / Seconds(t0) / 1e6;
            }
        }
        bestWorker = std::max(bestWorker, worker);
        bestBare = std::max(bestBare, bare);
        if (bare > 0) {
            ratios.push_back(worker / bare);
            std::printf("round %d: worker %.1f MB/s, %s %.1f MB/s, ratio %.2f\n", round + 1, worker, reference,
                        bare, worker / bare);
        }
    }
    std::printf("file: %llu bytes, best of %d rounds\n", static_cast<unsigned long long>(size), o.rounds);
    std::printf("worker:     %8.1f MB/s\n", bestWorker);
    if (!ratios.empty()) {
        std::sort(ratios.begin(), ratios.end());
        const std::size_t mid = ratios.size() / 2;
        const double median = ratios.size() % 2 ? ratios[mid] : (ratios[mid - 1] + ratios[mid]) / 2;
        std::printf("%s:  %8.1f MB/s\n", reference, bestBare);
        std::printf("worker / %s: %.2f (best against best), %.2f (median of the rounds)\n", reference,
                    bestWorker / bestBare, median);
    } else {
        std::printf("bare loop:  not run (direct HTTP URLs only)\n");
    }

    if (!o.parallelUrl.empty() && o.jobs > 0) {
        std::vector<std::unique_ptr<DownloadJob>> many;
        for (int i = 0; i < o.jobs; ++i)
            many.push_back(NewJob(o, o.parallelUrl, "parallel" + std::to_string(i) + ".bin", window));
        const LARGE_INTEGER t0 = Now();
        const bool ok = RunJobs(many);
        const double seconds = Seconds(t0);
        std::uint64_t total = 0;
        for (auto& job : many) total += job->receivedBytes;
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
        std::printf("%d parallel jobs: %llu bytes in %.2f s (%.1f MB/s), peak working set %.1f MB, "
                    "peak private %.1f MB%s\n",
                    o.jobs, static_cast<unsigned long long>(total), seconds, static_cast<double>(total) / seconds / 1e6,
                    static_cast<double>(pmc.PeakWorkingSetSize) / 1e6, static_cast<double>(pmc.PeakPagefileUsage) / 1e6,
                    ok ? "" : " (some failed)");
        for (int i = 0; i < o.jobs; ++i) DeleteFileA(paths::Join(o.folder, "parallel" + std::to_string(i) + ".bin").c_str());
    }
    DeleteFileA(paths::Join(o.folder, "worker.bin").c_str());
    DeleteFileA(paths::Join(o.folder, "bare.bin").c_str());
    RemoveDirectoryA(o.folder.c_str());
    WSACleanup();
    return 0;
}
