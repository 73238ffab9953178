// Working copies of documents outside the vault: assigning working folders,
// copying documents out, opening them there and checking edited copies back
// in. Every problem of one document is a Messages line, and the command goes
// on with the next.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "vault/document_record.h"
#include "vault/vault_context.h"
#include "vault/working_copy_rules.h"

class UiPort;

namespace vault {

// The file's facts; a folder or a missing path is no file.
FileFacts FactsOf(const std::string& path);

// Copies `from` over `to`, the copy keeping from's modification time. A
// read-only destination is refused, as the system does for its owner.
// Returns 0 or the system's error code.
DWORD CopyKeepingTime(const std::string& from, const std::string& to);

class WorkingCopies {
public:
    WorkingCopies(const VaultContext& vault, UiPort& ui) : vault_(vault), ui_(ui) {}

    // False (after the refusal box) for a folder inside the vault.
    bool AcceptWorkingFolder(const std::string& folder);

    // Brings one record's working copy into `catalog`, and with `remove`
    // deletes the working copy once nothing of it can be lost. True when the
    // record's times changed.
    bool CheckIn(const std::string& catalog, DocumentRecord& record, bool remove);
    // Copies the documents and their companions into their working folders
    // (created when missing); an existing copy is replaced after asking.
    void CopyToWorkingFolders(const std::string& catalog, const std::vector<const DocumentRecord*>& records);
    // Opens the working copy, bringing it up to date first or offering to
    // check it in. True when the original was replaced by the copy.
    bool OpenInWorkingFolder(const std::string& catalog, DocumentRecord& record);

    // The subtree commands over catalogs in walk order, the subtree's top
    // first. Each catalog's index is loaded, changed and saved.
    void CheckInCatalogs(const std::vector<std::string>& catalogs, bool remove);
    // Asks for the folder W; the top gets W, each catalog below it W and
    // its own path below the top. False when cancelled or refused.
    bool SetWorkingFolders(const std::vector<std::string>& catalogs);

private:
    std::string Prefix(const std::string& catalog, const DocumentRecord& r) const;
    void FailureLine(const std::string& prefix, const char* what, DWORD error);
    void RemoveCopy(const std::string& prefix, const std::string& copy);

    VaultContext vault_;
    UiPort& ui_;
};

}  // namespace vault
