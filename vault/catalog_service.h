// The catalog folders under the vault root: the listing the tree shows and
// the folder operations behind its commands (add, rename, move, delete).
// A catalog is a folder whose name is its title.
#pragma once
#include <string>
#include <vector>

#include "vault/vault_context.h"

class UiPort;

namespace vault {

class CatalogService {
public:
    CatalogService(const VaultContext& vault, UiPort& ui) : vault_(vault), ui_(&ui) {}
    void SetUi(UiPort& ui) { ui_ = &ui; }
    const VaultContext& vault() const { return vault_; }

    // Makes "UnknownCatalog" when it is missing, and says so in Messages
    // when the vault root is not a usable folder.
    void Prepare();
    // The titles of a catalog's sub-catalogs in listing order. Junctions and
    // folder links are left out: one pointing at an ancestor would make the
    // tree endless.
    std::vector<std::string> Children(const std::string& catalog) const;
    bool Exists(const std::string& path) const;
    // A title becomes one folder name: no separators, no device or stream
    // syntax, never "." or "..".
    static bool IsUsableTitle(const std::string& title);

    // The end of a title edit under `parent`: the folder of a new catalog is
    // made (under the new title, or the old one when none was typed), a
    // renamed one is renamed. False when refused or the system failed.
    bool ApplyTitle(const std::string& parent, const std::string& oldTitle, const std::string& newTitle);
    // Removes an empty catalog's folder. Its index goes too, but only when
    // nothing else is left there and it lists no documents. False when the
    // folder is not empty.
    bool Delete(const std::string& path);
    // Moves a catalog with everything below it to `destination`, which must
    // not exist, by renaming files (nothing is copied within a volume). The
    // first failure stops the move; what was moved stays moved.
    bool Move(const std::string& source, const std::string& destination);

private:
    VaultContext vault_;
    UiPort* ui_;
};

}  // namespace vault
