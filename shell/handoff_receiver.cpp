#include "shell/handoff_receiver.h"

#include <memory>
#include <string>

#include "common/handoff_record.h"
#include "common/paths.h"
#include "common/posted_pointers.h"
#include "common/settings_store.h"
#include "common/window_messages.h"
#include "jobs/page_store.h"
#include "shell/list_ctrl_view.h"
#include "shell/main_frame.h"

namespace {

constexpr std::size_t kMaxQueuedRequestBytes = std::size_t(1) << 20;

// The first text of a queued request, or false when the record is
// malformed or holds none.
bool FirstText(LPARAM copy, std::string& text) {
    if (!posted::Take(reinterpret_cast<const void*>(copy))) return false;
    const std::unique_ptr<std::string> record(reinterpret_cast<std::string*>(copy));
    handoff::HandoffRecord request;
    if (!handoff::DecodeHandoff(record->data(), record->size(), request) || request.strings.empty())
        return false;
    text = std::move(request.strings.front());
    return true;
}

void Post(HWND window, UINT message, std::string record) {
    auto copy = std::make_unique<std::string>(std::move(record));
    posted::Hand(copy.get());
    if (PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(copy.get())))
        copy.release();
    else
        posted::Take(copy.get());
}

}  // namespace

LRESULT ReceiveHandoff(HWND window, const COPYDATASTRUCT* data) {
    if (!data || (data->cbData && !data->lpData)) return TRUE;
    // A URL or a file list is short; only a page may be large. Queued
    // copies wait in the window's queue, so a sender must not be able to
    // park megabytes there.
    const std::size_t limit =
        data->dwData == handoff::HANDOFF_STORE_PAGE ? handoff::kMaxHandoffBytes : kMaxQueuedRequestBytes;
    if (data->cbData > limit) return TRUE;
    std::string record(static_cast<const char*>(data->lpData), data->cbData);
    // The record's own window handle is the sender's word; the result of a
    // page always comes back to this window.
    switch (data->dwData) {
        case handoff::HANDOFF_STORE_PAGE:
            jobs::StartPageStore(std::move(record), window);
            break;
        case handoff::HANDOFF_ADD_DOWNLOAD:
            Post(window, WM_ADD_DOWNLOAD_REQUEST, std::move(record));
            break;
        case handoff::HANDOFF_ADD_FILES:
            Post(window, WM_ADD_FILES_REQUEST, std::move(record));
            break;
        default:
            break;
    }
    return TRUE;
}

void OnAddDownloadRequest(CMainFrame& frame, LPARAM copy) {
    std::string url;
    if (!FirstText(copy, url) || !frame.jobManager()) return;
    const bool silent = ArchivonSettings().GetInt("Download", "Silent Mode", 1) != 0;
    frame.jobManager()->AddJob(url, true, silent, "", "", -1);
}

void OnAddFilesRequest(CMainFrame& frame, LPARAM copy) {
    std::string list;
    std::vector<std::string> files;
    // Each name is held to the bare-name rule where the files are filed.
    if (!FirstText(copy, list) || !paths::ParseFileListArgument(list, files) || files.empty()) return;
    frame.AddFilesToCurrentCatalog(files);
}

void OnPageStored(CMainFrame& frame, WPARAM code, LPARAM page) {
    if (code != 200 || !posted::Take(reinterpret_cast<const void*>(page))) return;
    const std::unique_ptr<jobs::StoredPage> stored(reinterpret_cast<jobs::StoredPage*>(page));
    if (!frame.list() || !frame.jobManager()) {
        jobs::RemoveTemporaryPage(*stored);
        return;
    }
    jobs::FileStoredPage(*stored, frame.list()->documents(), *frame.jobManager(), frame);
}
