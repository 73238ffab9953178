// The catalog tree read from the disk, for a walk without the tree pane
// (services, tests, benchmarks): the same listing and order the pane fills
// itself with.
#pragma once
#include <string>
#include <vector>

#include "vault/catalog_walk.h"

namespace vault {

class CatalogService;

class FolderCatalogWalk : public CatalogWalk {
public:
    explicit FolderCatalogWalk(const CatalogService& catalogs);
    Ref Top() const override { return nodes_.empty() ? 0 : 1; }
    // Nodes are stored in pre-order, so the successor is the next one.
    Ref Next(Ref catalog) const override { return catalog < nodes_.size() ? catalog + 1 : 0; }
    std::string Path(Ref catalog) const override { return nodes_.at(catalog - 1).path; }
    std::string Title(Ref catalog) const override { return nodes_.at(catalog - 1).title; }
    std::size_t size() const { return nodes_.size(); }

private:
    struct Node {
        std::string path;
        std::string title;
    };
    void Add(const CatalogService& catalogs, const std::string& path, const std::string& title);
    std::vector<Node> nodes_;
};

}  // namespace vault
