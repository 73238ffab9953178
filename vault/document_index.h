// A catalog's index file on disk. Loading reports a damaged or unreadable
// file and returns false, and the caller then changes nothing.
#pragma once
#include <string>

#include "vault/document_record.h"

class UiPort;

namespace vault {

std::string IndexPath(const std::string& catalog);

// What the user is told follows a failed load: a command stops, a walk over
// every catalog skips that one and goes on.
enum class OnBadIndex { stopCommand, skipCatalog };

// A missing index is created empty and reads as no records. On false the
// list is empty and the user has been told why.
bool LoadIndex(UiPort& ui, DocumentRecords& records, const std::string& catalog,
               OnBadIndex consequence = OnBadIndex::stopCommand);
// Writes over the existing file without truncating it; a catalog without an
// index gets nothing (false, no message). Other failures are reported, and
// records with a name the reader would refuse are never written.
bool SaveIndex(UiPort& ui, const DocumentRecords& records, const std::string& catalog);
// Whether SaveIndex could write the catalog's index now (it exists, is not
// read-only and opens for writing). A command that would move or create
// files asks first, so that no file lands where its record cannot be kept;
// on false the user has been told and the command stops.
bool CanWriteIndex(UiPort& ui, const std::string& catalog);
bool AppendToIndex(UiPort& ui, const DocumentRecords& records, const std::string& catalog);
// False for a missing path or a folder.
bool MakeDocumentRecord(const std::string& path, const std::string& vaultRoot, DocumentRecord& record);

}  // namespace vault
