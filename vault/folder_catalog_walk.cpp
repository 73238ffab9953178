#include "vault/folder_catalog_walk.h"

#include "vault/catalog_service.h"

namespace vault {

FolderCatalogWalk::FolderCatalogWalk(const CatalogService& catalogs) { Add(catalogs, catalogs.vault().root, "Root"); }

void FolderCatalogWalk::Add(const CatalogService& catalogs, const std::string& path, const std::string& title) {
    nodes_.push_back({path, title});
    for (const std::string& child : catalogs.Children(path)) Add(catalogs, path + "\\" + child, child);
}

}  // namespace vault
