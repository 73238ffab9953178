#include "vault/document_index.h"

#include <windows.h>

#include "app/app_services.h"
#include "common/message_box.h"
#include "common/ui_port.h"
#include "vault/file_status.h"

namespace vault {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

void ReportUnreadable(UiPort& ui, const std::string& file, DWORD error) {
    ui.AddMessage("The index file " + file + " cannot be read: " + SystemErrorText(error) +
                  "; the command was stopped.\r\n");
}

}  // namespace

std::string IndexPath(const std::string& catalog) { return catalog + "\\" + kIndexFileName; }

bool LoadIndex(UiPort& ui, DocumentRecords& records, const std::string& catalog) {
    records.clear();
    const std::string file = IndexPath(catalog);
    Handle h(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            Handle created(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
            return true;
        }
        // A catalog folder removed behind the program's back reads as empty.
        if (error == ERROR_PATH_NOT_FOUND) return true;
        ReportUnreadable(ui, file, error);
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.get(), &size)) {
        ReportUnreadable(ui, file, GetLastError());
        return false;
    }
    if (size.QuadPart == 0) return true;
    if (size.QuadPart > 0x7FFFFFFF) {
        ui.AddMessage("The index file " + file + " is too large to be an index; the command was stopped.\r\n");
        return false;
    }
    arc::Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(h.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
            ReportUnreadable(ui, file, GetLastError());
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    const auto res = DecodeIndex(bytes.data(), got, records);
    if (!res.ok) {
        records.clear();
        ui.AddMessage("The index file " + file + " is damaged (" + res.problem +
                      "); the command was stopped and nothing was written.\r\n");
        return false;
    }
    return true;
}

bool SaveIndex(UiPort& ui, const DocumentRecords& records, const std::string& catalog) {
    const std::string file = IndexPath(catalog);
    // Asked first: a process with every right (root under Wine) would
    // otherwise write into a read-only index.
    const DWORD attrs = GetFileAttributesA(file.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
        ui.AddMessage("The index file " + file + " cannot be written: " + SystemErrorText(ERROR_ACCESS_DENIED) +
                      "\r\n");
        return false;
    }
    Handle h(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            ui.AddMessage("The index file " + file + " cannot be written: " + SystemErrorText(error) + "\r\n");
        return false;
    }
    const arc::Bytes bytes = EncodeIndex(records);
    DWORD written = 0;
    if (!WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        ui.AddMessage("The index file " + file + " cannot be written: " + SystemErrorText(GetLastError()) + "\r\n");
        return false;
    }
    return true;
}

bool AppendToIndex(UiPort& ui, const DocumentRecords& records, const std::string& catalog) {
    DocumentRecords all;
    if (!LoadIndex(ui, all, catalog)) return false;
    all.insert(all.end(), records.begin(), records.end());
    return SaveIndex(ui, all, catalog);
}

bool MakeDocumentRecord(const std::string& path, DocumentRecord& record) {
    FileStatus st;
    if (!GetFileStatus(path, st) || st.isFolder) return false;
    record = RecordForPath(path, GetVaultRoot());
    record.modified = st.modified;
    record.created = st.created;
    record.size = st.size;
    return true;
}

}  // namespace vault
