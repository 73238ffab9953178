// One document of a catalog and the byte form of a catalog's index file,
// _doc_info.dat.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/archive.h"

namespace vault {

// Header value of the current layout; a smaller header is the record count
// of the earlier layout, which has no companion lists.
constexpr std::int32_t kIndexLayout = 0x10000;
constexpr const char* kIndexFileName = "_doc_info.dat";

struct DocumentRecord {
    std::string origin;
    std::string description;
    std::string workingFolder;
    std::string name;
    std::string type;
    std::uint32_t modified = 0;  // seconds since 1970, UTC
    std::uint32_t created = 0;
    std::int32_t size = 0;
    std::int32_t encoded = 0;
    std::int32_t version = kIndexLayout;
    std::vector<std::string> companions;
};

using DocumentRecords = std::vector<DocumentRecord>;

// The record's name or companion that an index must not hold (one that is
// not paths::IsBareFileName), or null. The reader refuses an index with such
// a name, so nothing may write one.
const std::string* FindUnstorableName(const DocumentRecord& record);

// Always the current layout.
arc::Bytes EncodeIndex(const DocumentRecords& records);

struct IndexDecodeResult {
    bool ok = true;
    std::uint32_t recordsRead = 0;
    std::string problem;  // what is wrong, for the user's message
};

// Reads both layouts; bytes after the last counted record are ignored and
// an empty input is an empty index. On failure `out` holds the records read
// before the damage.
IndexDecodeResult DecodeIndex(const std::uint8_t* data, std::size_t size, DocumentRecords& out);

// The fields of a new record for a file at `path` (rules of adding a file:
// origin, working folder, type and name from the path).
DocumentRecord RecordForPath(const std::string& path, const std::string& vaultRoot);

}  // namespace vault
