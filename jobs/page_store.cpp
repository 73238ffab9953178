#include "jobs/page_store.h"

#include <atomic>

#include "common/handoff_record.h"
#include "common/message_box.h"
#include "common/paths.h"
#include "common/posted_pointers.h"
#include "common/ui_port.h"
#include "common/win/file_system.h"
#include "common/win/handle.h"
#include "common/window_messages.h"
#include "jobs/job_manager.h"
#include "jobs/web_picker.h"
#include "net/job_url.h"
#include "vault/document_list.h"

namespace jobs {

namespace {

// A folder of this request's own in the temporary folder: two pages handed
// over under one name never write the same file, and no file of another
// program in the temporary folder is overwritten.
bool MakeRequestFolder(std::string& folder) {
    std::string temp;
    if (!win::TempFolder(temp)) return false;
    char unique[MAX_PATH];
    if (!GetTempFileNameA(temp.c_str(), "pag", 0, unique)) return false;
    DeleteFileA(unique);
    if (!CreateDirectoryA(unique, nullptr)) return false;
    folder = unique;
    return true;
}

struct PageRequest {
    std::string record;
    HWND window;
};

// Requests being written now. Each may hold a page of many megabytes, and
// any process on the desktop can send them; past this many at once, more
// are dropped.
constexpr int kMaxPageStores = 8;
std::atomic<int> pageStores{0};

DWORD WINAPI PageStoreThread(void* parameter) {
    const std::unique_ptr<PageRequest> request(static_cast<PageRequest*>(parameter));
    struct Leave {
        ~Leave() { --pageStores; }
    } leave;
    std::unique_ptr<StoredPage> page = WritePageRequest(request->record);
    request->record = std::string();
    if (!page) return 0;
    posted::Hand(page.get());
    if (PostMessageA(request->window, WM_PAGE_STORED, 200, reinterpret_cast<LPARAM>(page.get()))) {
        page.release();
        return 0;
    }
    posted::Take(page.get());
    // The window is gone: nobody files the page.
    RemoveTemporaryPage(*page);
    return 0;
}

}  // namespace

std::unique_ptr<StoredPage> WritePageRequest(const std::string& record) {
    handoff::HandoffRecord request;
    if (!handoff::DecodeHandoff(record.data(), record.size(), request) || request.strings.size() != 3) return nullptr;
    const std::string& content = request.strings[0];
    auto page = std::make_unique<StoredPage>();
    page->pageUrl = request.strings[1];
    std::string name = request.strings[2];
    SanitizeFileName(name);
    std::string extension;
    if (!PageExtension(name, extension)) {
        page->error = "Data error!";
        return page;
    }
    std::string folder;
    if (!MakeRequestFolder(folder)) return nullptr;
    const std::string path = paths::Join(folder, name);
    win::File file = win::File::Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file.valid()) {
        RemoveDirectoryA(folder.c_str());
        return nullptr;
    }
    page->filePath = path;
    if (extension == "html") ExtractResourceLinks(content, page->links, kImageSources | kEmbeddedSources);
    if (!file.Write(content.data(), content.size())) page->error = FileErrorText(GetLastError(), path);
    return page;
}

bool StartPageStore(std::string record, HWND window) {
    if (++pageStores > kMaxPageStores) {
        --pageStores;
        return false;
    }
    auto request = std::make_unique<PageRequest>(PageRequest{std::move(record), window});
    // Not joined: the thread owns its request and ends by itself.
    win::Thread thread;
    if (!thread.Start(PageStoreThread, request.get())) {
        --pageStores;
        return false;
    }
    request.release();
    return true;
}

void RemoveTemporaryPage(const StoredPage& page) {
    if (page.filePath.empty()) return;
    DeleteFileA(page.filePath.c_str());
    RemoveDirectoryA(paths::FolderPart(page.filePath).c_str());
}

void FileStoredPage(StoredPage& page, vault::DocumentList& documents, JobManager& manager, UiPort& ui) {
    if (!page.error.empty()) ui.Ask(page.error, MB_OK | MB_ICONEXCLAMATION);
    if (page.filePath.empty()) return;
    const std::string catalog = documents.currentCatalog;
    std::vector<std::string> stored;
    documents.AddFilesToCatalog({page.filePath}, true, catalog, false, &stored);
    RemoveTemporaryPage(page);
    std::vector<std::string> prefixes;
    if (stored.empty() || page.links.empty() || !SplitUrlPrefixes(page.pageUrl, prefixes)) return;
    const std::string pagePath = paths::Join(catalog, stored.front());
    for (const std::string& link : page.links) {
        std::string url;
        // Only what a worker can fetch becomes a job: a link to another
        // scheme would stop each of its jobs with a box of its own.
        if (!ResolveLink(prefixes, link, url) || url.empty() || !net::IsValidJobUrl(url)) continue;
        manager.AddJob(url, true, true, pagePath, link, -1);
    }
}

}  // namespace jobs
