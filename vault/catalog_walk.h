// The catalog tree as the commands that visit every catalog see it: the
// top catalog and the depth-first pre-order successor of each. The catalog
// tree pane is one; FolderCatalogWalk reads the same tree from the disk.
#pragma once
#include <cstdint>
#include <string>

namespace vault {

class CatalogWalk {
public:
    // A catalog of this walk; 0 is none.
    using Ref = std::uintptr_t;
    virtual ~CatalogWalk() = default;
    virtual Ref Top() const = 0;
    // Depth-first pre-order successor; 0 after the last catalog.
    virtual Ref Next(Ref catalog) const = 0;
    virtual std::string Path(Ref catalog) const = 0;
    // The label the user sees: the folder name ("Root" for the top).
    virtual std::string Title(Ref catalog) const = 0;
};

}  // namespace vault
