// The records of the catalog the document list shows, and the document
// operations on them. The list window renders this and forwards its
// commands here; the operations reach the user only through the UiPort.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "vault/document_record.h"
#include "vault/vault_context.h"

class UiPort;

namespace vault {

enum class RenameResult { unchanged, nameTaken, failed, renamed };

class DocumentList {
public:
    DocumentList(const VaultContext& vault, UiPort& ui) : vault_(vault), ui_(&ui) {}
    void SetUi(UiPort& ui) { ui_ = &ui; }
    void SetVault(const VaultContext& vault) { vault_ = vault; }
    const VaultContext& vault() const { return vault_; }

    // The catalog shown: the one place the program keeps it.
    std::string currentCatalog;
    DocumentRecords records;
    // Set by the view: re-insert every item, redraw one item.
    std::function<void()> itemsChanged;
    std::function<void(int)> itemChanged;

    // Loads currentCatalog's index into records; returns the record count.
    int Refresh();
    bool Save();
    // Refreshes times and size of a record from its file, when it exists.
    void RefreshFileStatus(int item);

    // Puts the files into the catalog and their records into its index;
    // the index of the list's last record, or -1 when no path was a file
    // (or the catalog's index could not be read or written). A path whose
    // file name is not paths::IsBareFileName is refused with a Messages line.
    // `stored`, when given, receives the names the files arrived under
    // (collision names included), in the order of `paths`.
    int AddFilesToCatalog(const std::vector<std::string>& paths, bool move, const std::string& catalog,
                          bool noRefresh, std::vector<std::string>* stored = nullptr);
    // Moves `path` into the catalog as a companion of document `name`;
    // `path` becomes the file name it got there.
    bool AddCompanionFile(const std::string& name, std::string& path, const std::string& catalog);

    // The commands take the selected items in list order.
    bool RequireSelection(const std::vector<int>& selected);
    bool NewNote();
    void Open(const std::vector<int>& selected);
    RenameResult Rename(int item, const std::string& newName);
    bool Delete(const std::vector<int>& selected);
    void SetDescription(int item, const std::string& text);
    void CopyTo(const std::vector<int>& selected);
    // Moves the documents with their companions into another catalog; a
    // record goes only with its files. Nothing moves when either index
    // cannot be written.
    void MoveToCatalog(const std::vector<int>& selected, const std::string& target);

    // Working copies of the selected documents.
    void SetWorkingFolder(const std::vector<int>& selected);
    void OpenInWorkingFolder(const std::vector<int>& selected);
    void CopyToWorkingFolder(const std::vector<int>& selected);
    void CheckIn(const std::vector<int>& selected, bool remove);
    // The same over whole catalogs, in walk order with the subtree's top
    // first; the shown catalog is reloaded when it is one of them.
    void CheckInCatalogs(const std::vector<std::string>& catalogs, bool remove);
    void SetWorkingFolders(const std::vector<std::string>& catalogs);

private:
    // Moves one document's file and companions; on false every file is
    // where it was (or named in Messages) and the record is unchanged.
    bool MoveDocumentFiles(DocumentRecord& r, const std::string& target);
    std::string FullPath(const std::string& name) const;
    std::string EncryptedLine(const DocumentRecord& r) const;
    void ItemsChanged();
    void ItemChanged(int item);
    void RefreshIfShown(const std::vector<std::string>& catalogs);

    VaultContext vault_;
    UiPort* ui_;
};

// Replaces every occurrence of the link `from` that stands as a whole
// attribute value by `to` in a file of one of the text types, and cuts the
// file when it became shorter; other files are left alone.
bool ReplaceInFile(const std::string& path, const std::string& from, const std::string& to,
                   const std::string& textFileTypes);

}  // namespace vault
