// The catalog tree pane as a catalog walk: Find and Integrity Checking visit
// the catalogs the user sees, in the tree's pre-order.
#pragma once
#include "shell/tree_ctrl_view.h"
#include "vault/catalog_walk.h"

class TreeCatalogWalk : public vault::CatalogWalk {
public:
    explicit TreeCatalogWalk(const CTreeCtrlView& tree) : tree_(tree) {}
    static HTREEITEM Item(Ref catalog) { return reinterpret_cast<HTREEITEM>(catalog); }
    static Ref RefOf(HTREEITEM item) { return reinterpret_cast<Ref>(item); }

    Ref Top() const override { return RefOf(tree_.Root()); }
    Ref Next(Ref catalog) const override { return RefOf(tree_.NextCatalog(Item(catalog))); }
    std::string Path(Ref catalog) const override { return tree_.CatalogPath(Item(catalog)); }
    std::string Title(Ref catalog) const override { return tree_.Label(Item(catalog)); }

private:
    const CTreeCtrlView& tree_;
};
