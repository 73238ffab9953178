#include "vault/document_record.h"

#include <algorithm>

#include "vault/catalog_paths.h"
#include "common/paths.h"

namespace vault {

namespace {

// The smallest record: five empty texts and four 32-bit fields, plus an
// empty companion count in the current layout.
constexpr std::size_t kMinRecordBytes = 5 + 4 * 4;
constexpr std::size_t kMinCompanionBytes = 2;

void WriteRecord(arc::ArchiveWriter& w, const DocumentRecord& r) {
    w.Text(r.origin);
    w.Text(r.description);
    w.Text(r.workingFolder);
    w.Text(r.name);
    w.Text(r.type);
    w.Time(r.modified);
    w.Time(r.created);
    w.I32(r.size);
    w.I32(r.encoded);
    w.TextList(r.companions);
}

bool ReadRecord(arc::ArchiveReader& r, bool withCompanions, DocumentRecord& rec) {
    return r.Text(rec.origin) && r.Text(rec.description) && r.Text(rec.workingFolder) && r.Text(rec.name) &&
           r.Text(rec.type) && r.Time(rec.modified) && r.Time(rec.created) && r.I32(rec.size) &&
           r.I32(rec.encoded) && (!withCompanions || r.TextList(rec.companions));
}

IndexDecodeResult Malformed(std::uint32_t read, std::string problem) {
    return {false, read, std::move(problem)};
}

}  // namespace

const std::string* FindUnstorableName(const DocumentRecord& record) {
    if (!paths::IsBareFileName(record.name)) return &record.name;
    for (const auto& c : record.companions)
        if (!paths::IsBareFileName(c)) return &c;
    return nullptr;
}

arc::Bytes EncodeIndex(const DocumentRecords& records) {
    // An upper bound: every text with the longest length prefix.
    constexpr std::size_t kPrefix = 7;
    std::size_t size = 8;
    for (const auto& r : records) {
        size += r.origin.size() + r.description.size() + r.workingFolder.size() + r.name.size() + r.type.size() +
                5 * kPrefix + 16 + 6;
        for (const auto& c : r.companions) size += c.size() + kPrefix;
    }
    arc::ArchiveWriter w;
    w.Reserve(size);
    w.I32(kIndexLayout);
    w.I32(static_cast<std::int32_t>(records.size()));
    for (const auto& r : records) WriteRecord(w, r);
    return w.Take();
}

IndexDecodeResult DecodeIndex(const std::uint8_t* data, std::size_t size, DocumentRecords& out) {
    out.clear();
    if (size == 0) return {};
    arc::ArchiveReader r(data, size);
    std::int32_t header = 0;
    if (!r.I32(header)) return Malformed(0, "the header is cut short");
    std::int32_t count = header;
    const bool current = header >= kIndexLayout;
    if (current && !r.I32(count)) return Malformed(0, "the record count is missing");
    if (count < 0) return Malformed(0, "the record count is negative");

    const std::size_t minRecord = kMinRecordBytes + (current ? kMinCompanionBytes : 0);
    if (static_cast<std::size_t>(count) > r.remaining() / minRecord)
        return Malformed(0, "it counts " + std::to_string(count) + " records but is too short to hold them");
    out.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), 4096));
    for (std::int32_t i = 0; i < count; ++i) {
        DocumentRecord rec;
        if (!ReadRecord(r, current, rec))
            return Malformed(static_cast<std::uint32_t>(i),
                             "record " + std::to_string(i + 1) + " of " + std::to_string(count) + " is cut short");
        // A damaged or hostile index must not make a command act on another
        // place than the catalog folder.
        if (FindUnstorableName(rec))
            return Malformed(static_cast<std::uint32_t>(i),
                             "record " + std::to_string(i + 1) + " names a file outside its catalog");
        out.push_back(std::move(rec));
    }
    return {true, static_cast<std::uint32_t>(count), {}};
}

DocumentRecord RecordForPath(const std::string& path, const std::string& vaultRoot) {
    DocumentRecord rec;
    rec.origin = path;
    std::string folder = paths::FolderPart(path);
    if (IsUnderBaseDir(folder, vaultRoot)) folder = "C:\\Temp";
    if (folder.size() == 2 && folder[1] == ':') folder.push_back('\\');
    rec.workingFolder = folder;
    rec.type = paths::TypeOfPath(path);
    rec.name = paths::FileNamePart(path);
    return rec;
}

}  // namespace vault
