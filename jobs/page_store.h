// Pages and picked text handed over by the browser helper: a thread of its
// own writes each into a temporary file and finds the page's images and
// embedded objects; the window thread then files the page into the shown
// catalog and makes one download job per resource.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class JobManager;
class UiPort;
namespace vault {
class DocumentList;
}

namespace jobs {

// What a store-page request hands to the window thread.
struct StoredPage {
    // The written file, alone in a folder of its own in the temporary
    // folder; empty when nothing was written.
    std::string filePath;
    std::string pageUrl;
    // The page's resource links as written, in document order.
    std::vector<std::string> links;
    // A box the window thread shows: the thread itself never shows one.
    std::string error;
};

// Reads a copied store-page record (window, content, URL, file name) and
// writes the content into a temporary file under the sanitised name. Null
// for a request that is dropped without a word (a malformed record, not
// three texts, no temporary folder, a file that cannot be made).
std::unique_ptr<StoredPage> WritePageRequest(const std::string& record);

// Runs WritePageRequest on a thread of its own, which posts WM_PAGE_STORED
// (wParam 200, lParam a StoredPage* that the receiver owns) to `window`.
// False when the thread could not be started or too many requests are
// being written already.
bool StartPageStore(std::string record, HWND window);

// On the window thread: shows the request's box if it has one, files the
// page into the shown catalog (moved out of the temporary folder), and adds
// a silent, started download job for each resource link that resolves to a
// URL the program fetches. The jobs carry the name the page was really
// stored under, so their companions join this page even when the catalog
// held an older one of the same name. The temporary folder is removed.
void FileStoredPage(StoredPage& page, vault::DocumentList& documents, JobManager& manager, UiPort& ui);

// Removes a StoredPage's temporary file and its folder, whatever is left.
void RemoveTemporaryPage(const StoredPage& page);

}  // namespace jobs
