#include "vault/document_index.h"

#include <windows.h>

#include "common/message_box.h"
#include "common/ui_port.h"
#include "common/win/handle.h"
#include "vault/file_status.h"

namespace vault {

namespace {

std::string Consequence(OnBadIndex consequence) {
    return consequence == OnBadIndex::skipCatalog ? "the catalog was skipped" : "the command was stopped";
}

void ReportUnreadable(UiPort& ui, const std::string& file, DWORD error, OnBadIndex consequence) {
    ui.AddMessage("The index file " + file + " cannot be read: " + SystemErrorText(error) + "; " +
                  Consequence(consequence) + ".\r\n");
}

}  // namespace

std::string IndexPath(const std::string& catalog) { return catalog + "\\" + kIndexFileName; }

bool LoadIndex(UiPort& ui, DocumentRecords& records, const std::string& catalog, OnBadIndex consequence) {
    records.clear();
    const std::string file = IndexPath(catalog);
    win::File h = win::File::Open(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!h.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            win::File::Open(file, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
            return true;
        }
        // A catalog folder removed behind the program's back reads as empty.
        if (error == ERROR_PATH_NOT_FOUND) return true;
        ReportUnreadable(ui, file, error, consequence);
        return false;
    }
    arc::Bytes bytes;
    if (!h.ReadAll(bytes, 0x7FFFFFFF)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_TOO_LARGE)
            ui.AddMessage("The index file " + file + " is too large to be an index; " + Consequence(consequence) +
                          ".\r\n");
        else
            ReportUnreadable(ui, file, error, consequence);
        return false;
    }
    const auto res = DecodeIndex(bytes.data(), bytes.size(), records);
    if (!res.ok) {
        records.clear();
        ui.AddMessage("The index file " + file + " is damaged (" + res.problem + "); " + Consequence(consequence) +
                      " and nothing was written.\r\n");
        return false;
    }
    return true;
}

namespace {

// The index opened the way SaveIndex writes it. The read-only attribute is
// asked first: a process with every right (root under Wine) would otherwise
// write into a read-only index.
win::File OpenIndexForWriting(const std::string& file, DWORD& error) {
    const DWORD attrs = GetFileAttributesA(file.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
        error = ERROR_ACCESS_DENIED;
        return win::File();
    }
    win::File h = win::File::Open(file, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
    error = h.valid() ? ERROR_SUCCESS : GetLastError();
    return h;
}

std::string CannotWriteLine(const std::string& file, DWORD error) {
    return "The index file " + file + " cannot be written: " + SystemErrorText(error);
}

}  // namespace

bool CanWriteIndex(UiPort& ui, const std::string& catalog) {
    const std::string file = IndexPath(catalog);
    DWORD error = ERROR_SUCCESS;
    if (OpenIndexForWriting(file, error).valid()) return true;
    ui.AddMessage(CannotWriteLine(file, error) + "; the command was stopped.\r\n");
    return false;
}

bool SaveIndex(UiPort& ui, const DocumentRecords& records, const std::string& catalog) {
    const std::string file = IndexPath(catalog);
    DWORD error = ERROR_SUCCESS;
    win::File h = OpenIndexForWriting(file, error);
    if (!h.valid()) {
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            ui.AddMessage(CannotWriteLine(file, error) + "\r\n");
        return false;
    }
    // The reader refuses a whole index for one such name, so the catalog
    // would lose every record; the index on disk is kept as it is instead.
    for (const auto& r : records)
        if (const std::string* bad = FindUnstorableName(r)) {
            ui.AddMessage("The index file " + file + " was not written: \"" + *bad +
                          "\" is not a plain file name.\r\n");
            return false;
        }
    const arc::Bytes bytes = EncodeIndex(records);
    if (!h.Write(bytes.data(), bytes.size())) {
        ui.AddMessage(CannotWriteLine(file, GetLastError()) + "\r\n");
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

bool MakeDocumentRecord(const std::string& path, const std::string& vaultRoot, DocumentRecord& record) {
    FileStatus st;
    if (!GetFileStatus(path, st) || st.isFolder) return false;
    record = RecordForPath(path, vaultRoot);
    record.modified = st.modified;
    record.created = st.created;
    record.size = st.size;
    return true;
}

}  // namespace vault
