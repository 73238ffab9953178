// How one catalog's index is brought in line with its folder: the names
// the folder lists go in, the records that no longer have a file come out.
#pragma once
#include <string>
#include <vector>

#include "vault/case_fold.h"
#include "vault/document_record.h"

namespace vault {

struct CatalogReconciliation {
    // Records or companion entries were dropped.
    bool changed = false;
    // Listed names that no record or companion claims, in listing order:
    // the files to add as documents.
    std::vector<std::string> orphans;
};

// `files` are the names of the plain files in the catalog's folder in
// listing order (the index file among them is ignored); names compare
// regardless of case. In index order, each record takes every listed name
// equal to its own, and is dropped when none is left; a kept record's
// companions do the same, and a companion entry without a file is dropped.
CatalogReconciliation ReconcileCatalog(DocumentRecords& records, const std::vector<std::string>& files,
                                       const CaseFold& fold = AsciiCaseFold());

}  // namespace vault
