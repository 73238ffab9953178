#include "vault/document_list.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "common/paths.h"
#include "common/resources.h"
#include "common/ui_port.h"
#include "common/wait_cursor.h"
#include "common/win/file_system.h"
#include "common/win/handle.h"
#include "res/resource.h"
#include "vault/catalog_paths.h"
#include "vault/document_index.h"
#include "vault/document_texts.h"
#include "vault/file_status.h"
#include "vault/shell_file_ops.h"
#include "vault/working_copies.h"

namespace vault {

namespace {

// A link stands in a page as a whole attribute value: after a quote, '='
// or a blank, and before a quote, '>' or a blank. Anything else is part of
// a longer address ("pic.gif" inside "/img/pic.gif") and stays as it is.
bool OpensValue(char c) { return c == '"' || c == '\'' || c == '=' || std::isspace(static_cast<unsigned char>(c)); }
bool ClosesValue(char c) { return c == '"' || c == '\'' || c == '>' || std::isspace(static_cast<unsigned char>(c)); }

void ReplaceWholeValues(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, hit + 1)) {
        const std::size_t end = hit + from.size();
        if (hit < pos || (hit > 0 && !OpensValue(text[hit - 1])) || (end < text.size() && !ClosesValue(text[end])))
            continue;
        out.append(text, pos, hit - pos);
        out += to;
        pos = end;
    }
    out.append(text, pos, std::string::npos);
    text = std::move(out);
}

std::string NotAPlainNameLine(const std::string& name, const std::string& path) {
    return "\"" + name + "\" is not a plain file name; " + path + " was not added.\r\n";
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::string DocumentList::FullPath(const std::string& name) const { return currentCatalog + "\\" + name; }

std::string DocumentList::EncryptedLine(const DocumentRecord& r) const {
    return ReportPrefix(currentCatalog, vault_.root, r.name) + kIsEncrypted;
}

void DocumentList::ItemsChanged() {
    if (itemsChanged) itemsChanged();
}

void DocumentList::ItemChanged(int item) {
    if (itemChanged) itemChanged(item);
}

int DocumentList::Refresh() {
    LoadIndex(*ui_, records, currentCatalog);
    ItemsChanged();
    return static_cast<int>(records.size());
}

bool DocumentList::Save() { return SaveIndex(*ui_, records, currentCatalog); }

void DocumentList::RefreshFileStatus(int item) {
    if (item < 0 || item >= static_cast<int>(records.size())) return;
    auto& r = records[item];
    FileStatus st;
    if (!GetFileStatus(FullPath(r.name), st) || st.isFolder) return;
    r.created = st.created;
    r.modified = st.modified;
    r.size = st.size;
}

int DocumentList::AddFilesToCatalog(const std::vector<std::string>& paths, bool move, const std::string& catalog,
                                    bool noRefresh, std::vector<std::string>* stored) {
    WaitCursor wait;
    DocumentRecords fresh;
    for (const auto& p : paths) {
        // The name joins the catalog path: one that is not a bare name would
        // put the file somewhere else.
        const std::string name = paths::FileNamePart(p);
        if (!paths::IsBareFileName(name)) {
            ui_->AddMessage(NotAPlainNameLine(name, p));
            continue;
        }
        DocumentRecord r;
        if (MakeDocumentRecord(p, vault_.root, r)) fresh.push_back(std::move(r));
    }
    if (fresh.empty()) return -1;
    DocumentRecords index;
    if (!LoadIndex(*ui_, index, catalog) || !CanWriteIndex(*ui_, catalog)) return -1;

    std::vector<std::string> sources, destinations;
    for (const auto& r : fresh) {
        sources.push_back(r.origin);
        destinations.push_back(catalog + "\\" + r.name);
    }
    const auto outcomes = move ? ShellMoveFiles(sources, destinations, true, *ui_)
                               : ShellCopyFiles(sources, destinations, true, *ui_);
    // Each record follows its own file, also when two sources share a name.
    DocumentRecords arrived;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (outcomes[i].done) {
            fresh[i].name = paths::FileNamePart(outcomes[i].finalPath);
            if (stored) stored->push_back(fresh[i].name);
            arrived.push_back(std::move(fresh[i]));
        } else {
            ui_->AddMessage(TransferFailureLine(move ? "move" : "copy", sources[i], destinations[i],
                                               outcomes[i].error));
        }
    }
    if (!noRefresh && catalog == currentCatalog) {
        records.insert(records.end(), arrived.begin(), arrived.end());
        ItemsChanged();
    }
    if (!arrived.empty()) {
        index.insert(index.end(), arrived.begin(), arrived.end());
        SaveIndex(*ui_, index, catalog);
    }
    return static_cast<int>(records.size()) - 1;
}

bool DocumentList::AddCompanionFile(const std::string& name, std::string& path, const std::string& catalog) {
    WaitCursor wait;
    const std::string fileName = paths::FileNamePart(path);
    if (!paths::IsBareFileName(fileName)) {
        ui_->AddMessage(NotAPlainNameLine(fileName, path));
        return false;
    }
    DocumentRecord file;
    if (!MakeDocumentRecord(path, vault_.root, file)) return false;
    const bool shown = catalog == currentCatalog;
    DocumentRecords loaded;
    if (!shown && !LoadIndex(*ui_, loaded, catalog)) return false;
    if (!CanWriteIndex(*ui_, catalog)) return false;
    DocumentRecords& recs = shown ? records : loaded;
    const std::string destination = catalog + "\\" + file.name;
    const auto outcome = ShellMoveFiles({path}, {destination}, true, *ui_).front();
    if (!outcome.done) {
        ui_->AddMessage(TransferFailureLine("move", path, destination, outcome.error));
        return false;
    }
    // The companion is known by the name it really got, so links rewritten
    // to it point at this file and not at the one it collided with.
    const std::string stored = paths::FileNamePart(outcome.finalPath);
    auto owner = std::find_if(recs.begin(), recs.end(), [&](const DocumentRecord& r) { return r.name == name; });
    if (owner == recs.end()) return false;
    owner->companions.push_back(stored);
    SaveIndex(*ui_, recs, catalog);
    path = stored;
    return true;
}

bool DocumentList::RequireSelection(const std::vector<int>& selected) {
    if (!selected.empty()) return true;
    ui_->AddMessage(LoadResString(IDS_NO_FILE_SELECTED));
    return false;
}

bool DocumentList::NewNote() {
    // The index is read and found writable first, so that a note never
    // lies in the catalog without its record.
    DocumentRecords index;
    if (!LoadIndex(*ui_, index, currentCatalog) || !CanWriteIndex(*ui_, currentCatalog)) return false;
    std::string temp;
    if (!win::TempFolder(temp)) return false;
    char buf[MAX_PATH];
    if (!GetTempFileNameA(temp.c_str(), "Note", 0, buf)) return false;
    // The system keeps only three letters of the prefix ("NotXXXX.tmp");
    // the note takes the unique hex digits behind them and is named in full.
    const std::string tempName = paths::FileNamePart(buf);
    const auto dot = tempName.rfind('.');
    if (tempName.size() < 4 || dot == std::string::npos || dot < 3) return false;
    const std::string note = currentCatalog + "\\Note" + tempName.substr(3, dot - 3) + ".txt";
    // CREATE_NEW: a note never overwrites a document that has its name.
    if (!win::File::Open(note, GENERIC_WRITE, 0, CREATE_NEW).valid()) return false;

    DocumentRecord r;
    if (!MakeDocumentRecord(note, vault_.root, r)) return false;
    index.push_back(r);
    if (!SaveIndex(*ui_, index, currentCatalog)) {
        DeleteFileA(note.c_str());
        return false;
    }
    records.push_back(r);
    ItemsChanged();
    if (!win::TempFolder(temp)) {
        ui_->ShowSystemError(GetLastError());
        return true;
    }
    ui_->OpenDocument(note, currentCatalog);
    return true;
}

void DocumentList::Open(const std::vector<int>& selected) {
    for (int i : selected) {
        const auto& r = records[i];
        if (r.encoded == 1) {
            ui_->AddMessage(EncryptedLine(r));
            continue;
        }
        std::string temp;
        if (!win::TempFolder(temp)) {
            ui_->ShowSystemError(GetLastError());
            return;
        }
        ui_->OpenDocument(FullPath(r.name), temp);
    }
}

RenameResult DocumentList::Rename(int item, const std::string& newName) {
    if (newName.empty() || item < 0 || item >= static_cast<int>(records.size())) return RenameResult::unchanged;
    // A name with a folder part would take the file out of its catalog, and
    // the index must not hold a name its reader refuses.
    if (!paths::IsBareFileName(newName)) {
        ui_->ShowSystemError(ERROR_INVALID_NAME);
        return RenameResult::failed;
    }
    const std::string oldName = records[item].name;
    if (win::PathExists(FullPath(newName))) {
        ui_->Beep();
        return RenameResult::nameTaken;
    }
    if (!MoveFileA(FullPath(oldName).c_str(), FullPath(newName).c_str())) {
        ui_->ShowSystemError(GetLastError());
        return RenameResult::failed;
    }
    for (auto& r : records)
        if (r.name == oldName) r.name = newName;
    Save();
    return RenameResult::renamed;
}

bool DocumentList::Delete(const std::vector<int>& selected) {
    if (ui_->Ask(LoadResString(IDS_CONFIRM_DELETE_FILES), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    std::vector<std::string> files;
    for (int i : selected) {
        files.push_back(FullPath(records[i].name));
        for (const auto& c : records[i].companions) files.push_back(FullPath(c));
    }
    const auto outcomes = ShellDeleteFiles(files);
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!outcomes[i].done && outcomes[i].error != ERROR_FILE_NOT_FOUND)
            ui_->AddMessage(TransferFailureLine("delete", files[i], "", outcomes[i].error));
    std::vector<int> doomed(selected);
    std::sort(doomed.rbegin(), doomed.rend());
    for (int i : doomed) records.erase(records.begin() + i);
    ItemsChanged();
    Save();
    return true;
}

void DocumentList::SetDescription(int item, const std::string& text) {
    if (item < 0 || item >= static_cast<int>(records.size())) return;
    records[item].description = text;
    Save();
    ItemChanged(item);
}

void DocumentList::CopyTo(const std::vector<int>& selected) {
    std::string folder;
    if (!ui_->BrowseForFolder(kCopyDestinationTitle, folder)) return;
    if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
    std::vector<std::string> sources, destinations;
    for (int i : selected) {
        const auto& r = records[i];
        if (r.encoded == 1) {
            ui_->AddMessage(EncryptedLine(r));
            continue;
        }
        sources.push_back(FullPath(r.name));
        destinations.push_back(folder + r.name);
        for (const auto& c : r.companions) {
            sources.push_back(FullPath(c));
            destinations.push_back(folder + c);
        }
    }
    const auto outcomes = ShellCopyFiles(sources, destinations, false, *ui_);
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        if (!outcomes[i].done && outcomes[i].error != ERROR_CANCELLED)
            ui_->AddMessage(TransferFailureLine("copy", sources[i], destinations[i], outcomes[i].error));
}

bool DocumentList::MoveDocumentFiles(DocumentRecord& r, const std::string& target) {
    struct Moved {
        std::string from, to;
    };
    std::vector<Moved> done;
    // Puts back what went, so that the record stays with all its files; a
    // file that cannot go back is named in Messages.
    auto undo = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            if (!MoveFileExA(it->to.c_str(), it->from.c_str(), MOVEFILE_COPY_ALLOWED))
                ui_->AddMessage(TransferFailureLine("move back", it->to, it->from, GetLastError()));
    };
    const std::string from = FullPath(r.name);
    const std::string to = target + "\\" + r.name;
    const auto outcome = ShellMoveFiles({from}, {to}, true, *ui_).front();
    if (!outcome.done) {
        ui_->AddMessage(TransferFailureLine("move", from, to, outcome.error));
        return false;
    }
    done.push_back({from, outcome.finalPath});
    std::vector<std::string> companions = r.companions;
    for (auto& c : companions) {
        const std::string cFrom = FullPath(c);
        const std::string cTo = target + "\\" + c;
        const auto co = ShellMoveFiles({cFrom}, {cTo}, true, *ui_).front();
        if (co.done) {
            done.push_back({cFrom, co.finalPath});
            c = paths::FileNamePart(co.finalPath);
            continue;
        }
        ui_->AddMessage(TransferFailureLine("move", cFrom, cTo, co.error));
        // A companion already gone has nothing to keep; any other that
        // stays behind keeps its document here with it.
        if (IsMissing(co.error)) continue;
        undo();
        return false;
    }
    r.name = paths::FileNamePart(outcome.finalPath);
    r.companions = std::move(companions);
    return true;
}

void DocumentList::MoveToCatalog(const std::vector<int>& selected, const std::string& target) {
    if (target == currentCatalog || selected.empty()) return;
    DocumentRecords targetIndex;
    // Decided before anything moves: a record must be writable in the target
    // and removable from here, or the files stay where they are.
    if (!LoadIndex(*ui_, targetIndex, target) || !CanWriteIndex(*ui_, target) || !CanWriteIndex(*ui_, currentCatalog))
        return;

    DocumentRecords moved;
    std::vector<int> order(selected);
    std::sort(order.rbegin(), order.rend());  // the last selected first
    for (int i : order) {
        // The record stays with the files it describes.
        if (!MoveDocumentFiles(records[i], target)) continue;
        moved.push_back(std::move(records[i]));
        records.erase(records.begin() + i);
    }
    ItemsChanged();
    if (moved.empty()) return;
    targetIndex.insert(targetIndex.end(), moved.begin(), moved.end());
    SaveIndex(*ui_, targetIndex, target);
    Save();
}

void DocumentList::SetWorkingFolder(const std::vector<int>& selected) {
    if (selected.empty()) return;
    std::string folder;
    if (!ui_->BrowseForFolder(kWorkingFolderTitle, folder) || folder == records[selected.front()].workingFolder)
        return;
    if (!WorkingCopies(vault_, *ui_).AcceptWorkingFolder(folder)) return;
    for (int i : selected) {
        records[i].workingFolder = folder;
        ItemChanged(i);
    }
    Save();
}

void DocumentList::OpenInWorkingFolder(const std::vector<int>& selected) {
    WorkingCopies copies(vault_, *ui_);
    bool checkedIn = false;
    for (int i : selected) {
        if (!copies.OpenInWorkingFolder(currentCatalog, records[i])) continue;
        checkedIn = true;
        ItemChanged(i);
    }
    if (checkedIn) Save();
}

void DocumentList::CopyToWorkingFolder(const std::vector<int>& selected) {
    std::vector<const DocumentRecord*> chosen;
    for (int i : selected) chosen.push_back(&records[i]);
    WorkingCopies(vault_, *ui_).CopyToWorkingFolders(currentCatalog, chosen);
}

void DocumentList::CheckIn(const std::vector<int>& selected, bool remove) {
    WorkingCopies copies(vault_, *ui_);
    for (int i : selected)
        if (copies.CheckIn(currentCatalog, records[i], remove)) ItemChanged(i);
    Save();
}

void DocumentList::RefreshIfShown(const std::vector<std::string>& catalogs) {
    if (std::find(catalogs.begin(), catalogs.end(), currentCatalog) != catalogs.end()) Refresh();
}

void DocumentList::CheckInCatalogs(const std::vector<std::string>& catalogs, bool remove) {
    WorkingCopies(vault_, *ui_).CheckInCatalogs(catalogs, remove);
    RefreshIfShown(catalogs);
}

void DocumentList::SetWorkingFolders(const std::vector<std::string>& catalogs) {
    if (WorkingCopies(vault_, *ui_).SetWorkingFolders(catalogs)) RefreshIfShown(catalogs);
}

bool ReplaceInFile(const std::string& path, const std::string& from, const std::string& to,
                   const std::string& textFileTypes) {
    if (!IsTextFileType(path, textFileTypes)) return false;
    win::File file = win::File::Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    arc::Bytes bytes;
    if (!file.valid() || !file.ReadAll(bytes, 0x7FFFFFFF)) return false;
    std::string text(bytes.begin(), bytes.end());
    ReplaceWholeValues(text, from, to);
    return file.WriteAt(0, text.data(), text.size()) && file.Resize(text.size());
}

}  // namespace vault
