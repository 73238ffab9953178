// Integrity Checking: every catalog of the tree, in pre-order, has its
// index brought in line with its folder. Records and companion entries
// whose files are gone are dropped silently; files no record claims become
// documents, each with an "Orphan file" line in Messages.
#pragma once
#include <functional>
#include <string>

#include "vault/catalog_walk.h"
#include "vault/vault_context.h"

class UiPort;

namespace vault {

// `saved` hears of every catalog whose index was rewritten. A catalog whose
// index or folder cannot be read is reported and left as it is. `keepGoing`
// is asked before each catalog; when it says no, the check ends there with a
// line saying so (every catalog is checked and saved whole, so one that was
// done stays done).
void CheckIntegrity(const CatalogWalk& walk, const VaultContext& vault, UiPort& ui,
                    const std::function<void(const std::string& catalog)>& saved = {},
                    const std::function<bool()>& keepGoing = {});

}  // namespace vault
