#include "vault/working_copies.h"

#include "common/message_box.h"
#include "common/resources.h"
#include "common/ui_port.h"
#include "common/win/file_system.h"
#include "common/win/handle.h"
#include "res/resource.h"
#include "vault/catalog_paths.h"
#include "vault/document_index.h"
#include "vault/document_texts.h"
#include "vault/file_status.h"
#include "vault/shell_file_ops.h"

namespace vault {

FileFacts FactsOf(const std::string& path) {
    FileStatus st;
    FileFacts f;
    if (GetFileStatus(path, st) && !st.isFolder) f = {true, st.modified, st.size};
    return f;
}

namespace {

// Gives `to` the modification time of `from`. The copy functions keep it
// already; set here so every platform compares the two as unchanged.
void KeepModifiedTime(const std::string& from, const std::string& to) {
    WIN32_FILE_ATTRIBUTE_DATA source;
    if (!GetFileAttributesExA(from.c_str(), GetFileExInfoStandard, &source)) return;
    win::File file =
        win::File::Open(to, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (file.valid()) SetFileTime(file.get(), nullptr, nullptr, &source.ftLastWriteTime);
}

}  // namespace

DWORD CopyKeepingTime(const std::string& from, const std::string& to) {
    // Asked first: a process with every right (root under Wine) would
    // otherwise write over a read-only file.
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        const DWORD error = GetLastError();
        return error ? error : ERROR_GEN_FAILURE;
    }
    KeepModifiedTime(from, to);
    return 0;
}

std::string WorkingCopies::Prefix(const std::string& catalog, const DocumentRecord& r) const {
    return ReportPrefix(catalog, vault_.root, r.name);
}

void WorkingCopies::FailureLine(const std::string& prefix, const char* what, DWORD error) {
    ui_.AddMessage(prefix + what + SystemErrorText(error) + "\r\n");
}

bool WorkingCopies::AcceptWorkingFolder(const std::string& folder) {
    // A working copy inside the vault could be a document itself, which
    // check in and remove would then delete; the system's paths ignore case.
    if (!IsUnderBaseDir(folder, vault_.root) && !InsideVaultNoCase(folder, vault_.root)) return true;
    ui_.Ask(kInsideVaultRefusal, MB_OK);
    return false;
}

void WorkingCopies::RemoveCopy(const std::string& prefix, const std::string& copy) {
    const bool removed = !InsideVaultNoCase(copy, vault_.root) && ShellDeleteFiles({copy}).front().done;
    ui_.AddMessage(prefix + (removed ? kCopyRemoved : kCopyNotRemoved));
}

bool WorkingCopies::CheckIn(const std::string& catalog, DocumentRecord& record, bool remove) {
    const std::string prefix = Prefix(catalog, record);
    const std::string original = catalog + "\\" + record.name;
    const std::string copy = WorkingCopyPath(record.workingFolder, record.name);
    const FileFacts copyFacts = record.workingFolder.empty() ? FileFacts{} : FactsOf(copy);
    const CheckInAction action = DecideCheckIn(record, FactsOf(original), copyFacts);
    switch (action) {
        case CheckInAction::folderNotSet: ui_.AddMessage(prefix + kFolderNotSet); return false;
        case CheckInAction::copyMissing: ui_.AddMessage(prefix + kCopyMissing); return false;
        case CheckInAction::encrypted: ui_.AddMessage(prefix + kIsEncrypted); return false;
        case CheckInAction::originalMissing: return false;
        case CheckInAction::keep:
        case CheckInAction::update: break;
    }
    bool updated = false;
    if (action == CheckInAction::update) {
        const DWORD error = CopyKeepingTime(copy, original);
        updated = error == 0;
        if (updated) {
            record.modified = copyFacts.modified;
            record.size = copyFacts.size;
            ui_.AddMessage(prefix + kUpdated);
        } else {
            // The edits exist only in the working copy now: it stays.
            FailureLine(prefix, " can not be updated: ", error);
        }
    }
    if (remove && RemoveAfterCheckIn(action, updated)) RemoveCopy(prefix, copy);
    return updated;
}

void WorkingCopies::CopyToWorkingFolders(const std::string& catalog,
                                         const std::vector<const DocumentRecord*>& records) {
    std::vector<std::string> sources, destinations;
    for (const DocumentRecord* r : records) {
        if (r->encoded == 1) {
            ui_.AddMessage(Prefix(catalog, *r) + kIsEncrypted);
            continue;
        }
        if (r->workingFolder.empty()) {
            ui_.AddMessage(Prefix(catalog, *r) + kFolderNotSet);
            continue;
        }
        if (!win::IsFolder(r->workingFolder)) win::CreatePath(r->workingFolder, ui_);
        sources.push_back(catalog + "\\" + r->name);
        destinations.push_back(WorkingCopyPath(r->workingFolder, r->name));
        for (const auto& c : r->companions) {
            sources.push_back(catalog + "\\" + c);
            destinations.push_back(WorkingCopyPath(r->workingFolder, c));
        }
    }
    const auto outcomes = ShellCopyFiles(sources, destinations, false, ui_);
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].done)
            KeepModifiedTime(sources[i], destinations[i]);
        else if (outcomes[i].error != ERROR_CANCELLED)
            ui_.AddMessage(TransferFailureLine("copy", sources[i], destinations[i], outcomes[i].error));
    }
}

bool WorkingCopies::OpenInWorkingFolder(const std::string& catalog, DocumentRecord& record) {
    const std::string prefix = Prefix(catalog, record);
    const std::string original = catalog + "\\" + record.name;
    const std::string copy = WorkingCopyPath(record.workingFolder, record.name);
    const FileFacts copyFacts = record.workingFolder.empty() ? FileFacts{} : FactsOf(copy);
    bool checkedIn = false;
    switch (DecideOpen(record, FactsOf(original), copyFacts)) {
        case OpenAction::encrypted: ui_.AddMessage(prefix + kIsEncrypted); return false;
        case OpenAction::folderNotSet: ui_.AddMessage(prefix + kFolderNotSet); return false;
        case OpenAction::originalMissing: return false;
        case OpenAction::refreshCopy: {
            win::CreatePath(record.workingFolder, ui_);
            if (const DWORD error = CopyKeepingTime(original, copy)) {
                // The box does not say which document failed; the line does.
                FailureLine(prefix, " can not be copied to its working folder: ", error);
                ui_.ShowSystemError(error);
                return false;
            }
            break;
        }
        case OpenAction::openCopy: break;
        case OpenAction::askCheckIn:
            if (ui_.Ask(LoadResString(IDS_CONFIRM_CHECK_IN), MB_YESNO | MB_ICONQUESTION) == IDYES) {
                if (const DWORD error = CopyKeepingTime(copy, original)) {
                    FailureLine(prefix, " can not be updated: ", error);
                } else {
                    record.modified = copyFacts.modified;
                    record.size = copyFacts.size;
                    checkedIn = true;
                }
            }
            break;
    }
    ui_.OpenDocument(copy, record.workingFolder);
    return checkedIn;
}

void WorkingCopies::CheckInCatalogs(const std::vector<std::string>& catalogs, bool remove) {
    int checked = 0;
    for (const auto& catalog : catalogs) {
        DocumentRecords records;
        if (!LoadIndex(ui_, records, catalog)) continue;  // told why; the others go on
        for (auto& r : records) CheckIn(catalog, r, remove);
        checked += static_cast<int>(records.size());
        SaveIndex(ui_, records, catalog);
    }
    ui_.AddMessage(TotalCheckedLine(checked));
}

bool WorkingCopies::SetWorkingFolders(const std::vector<std::string>& catalogs) {
    if (catalogs.empty()) return false;
    std::string folder;
    if (!ui_.BrowseForFolder(kWorkingFolderTitle, folder) || !AcceptWorkingFolder(folder)) return false;
    for (const auto& catalog : catalogs) {
        DocumentRecords records;
        if (!LoadIndex(ui_, records, catalog)) continue;
        const std::string working = SubtreeWorkingFolder(folder, catalogs.front(), catalog);
        for (auto& r : records) r.workingFolder = working;
        SaveIndex(ui_, records, catalog);
    }
    return true;
}

}  // namespace vault
