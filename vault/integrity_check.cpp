#include "vault/integrity_check.h"

#include <windows.h>

#include "common/fill_text.h"
#include "common/message_box.h"
#include "common/ui_port.h"
#include "common/win/file_system.h"
#include "common/win/folder_enumerator.h"
#include "vault/catalog_paths.h"
#include "vault/document_index.h"
#include "vault/integrity_rules.h"
#include "vault/system_case_fold.h"

namespace vault {

namespace {

constexpr char kOrphanLine[] = "Orphan file: \"%s\" found in catalog %s, added to the catalog!\r\n";
constexpr char kCompleted[] = "Integrity checking completed.\r\n";
constexpr char kStopped[] = "Integrity checking stopped; %s catalogs were checked.\r\n";

// The plain files of a folder in listing order. False when the listing
// broke off: a partial list would make present files look gone.
bool ListFiles(const std::string& folder, std::vector<std::string>& files, DWORD& error) {
    win::FolderEnumerator entries(folder);
    while (entries.Next())
        if (!entries.isFolder()) files.push_back(entries.name());
    error = entries.error();
    return entries.CleanEnd();
}

}  // namespace

void CheckIntegrity(const CatalogWalk& walk, const VaultContext& vault, UiPort& ui,
                    const std::function<void(const std::string& catalog)>& saved,
                    const std::function<bool()>& keepGoing) {
    std::string temp;
    if (!win::TempFolder(temp)) temp = "C:\\";
    const CaseFold& fold = SystemCaseFold();
    std::size_t checked = 0;
    for (CatalogWalk::Ref c = walk.Top(); c; c = walk.Next(c)) {
        const std::string path = walk.Path(c);
        if (keepGoing && !keepGoing()) {
            ui.AddMessage(FillText(kStopped, {std::to_string(checked)}));
            return;
        }
        ++checked;
        DocumentRecords records;
        if (!LoadIndex(ui, records, path, OnBadIndex::skipCatalog)) continue;
        std::vector<std::string> files;
        DWORD error = 0;
        if (!ListFiles(path, files, error)) {
            ui.AddMessage("The catalog folder " + path + " cannot be listed: " + SystemErrorText(error) +
                          "; the catalog was skipped.\r\n");
            continue;
        }
        const CatalogReconciliation rec = ReconcileCatalog(records, files, fold);
        bool changed = rec.changed;
        const std::string relative = RelativeCatalogPath(path, vault.root);
        for (const std::string& name : rec.orphans) {
            DocumentRecord r;
            // A file gone since the listing is passed over.
            if (!MakeDocumentRecord(path + "\\" + name, vault.root, r)) continue;
            r.workingFolder = temp;
            records.push_back(std::move(r));
            changed = true;
            ui.AddMessage(FillText(kOrphanLine, {name, relative}));
        }
        if (changed && SaveIndex(ui, records, path) && saved) saved(path);
    }
    ui.AddMessage(kCompleted);
}

}  // namespace vault
