#include "vault/working_copy_rules.h"

#include "common/paths.h"
#include "vault/catalog_paths.h"

namespace vault {

CheckInAction DecideCheckIn(const DocumentRecord& record, const FileFacts& original, const FileFacts& copy) {
    if (record.workingFolder.empty()) return CheckInAction::folderNotSet;
    if (!copy.exists) return CheckInAction::copyMissing;
    if (record.encoded == 1) return CheckInAction::encrypted;
    if (!original.exists) return CheckInAction::originalMissing;
    return copy.modified > original.modified ? CheckInAction::update : CheckInAction::keep;
}

bool RemoveAfterCheckIn(CheckInAction action, bool updateSucceeded) {
    return action == CheckInAction::keep || (action == CheckInAction::update && updateSucceeded);
}

OpenAction DecideOpen(const DocumentRecord& record, const FileFacts& original, const FileFacts& copy) {
    if (record.encoded == 1) return OpenAction::encrypted;
    if (record.workingFolder.empty()) return OpenAction::folderNotSet;
    if (!original.exists) return OpenAction::originalMissing;
    if (!copy.exists || original.modified > copy.modified) return OpenAction::refreshCopy;
    if (original.modified == copy.modified && original.size == copy.size) return OpenAction::openCopy;
    return OpenAction::askCheckIn;
}

std::string WorkingCopyPath(std::string_view workingFolder, std::string_view name) {
    return paths::Join(workingFolder, name);
}

std::string SubtreeWorkingFolder(std::string_view folder, std::string_view top, std::string_view catalog) {
    std::string joined(folder);
    if (catalog.size() > top.size()) joined.append(catalog.substr(top.size()));
    // A network path's leading pair is part of its name, not a doubling.
    const std::size_t keep = joined.rfind("\\\\", 0) == 0 ? 2 : 0;
    std::string out = joined.substr(0, keep);
    for (std::size_t i = keep; i < joined.size(); ++i)
        if (!(joined[i] == '\\' && !out.empty() && out.back() == '\\' && out.size() > keep)) out.push_back(joined[i]);
    return out;
}

bool InsideVaultNoCase(std::string_view path, std::string_view root) {
    if (root.empty() || path.size() < root.size() || !paths::EqualsNoCase(path.substr(0, root.size()), root))
        return false;
    return path.size() == root.size() || path[root.size()] == '\\' || root.back() == '\\';
}

std::string ReportPrefix(std::string_view catalog, std::string_view root, std::string_view name) {
    return RelativeCatalogPath(catalog, root) + "\\" + std::string(name);
}

std::string TotalCheckedLine(int count) { return "Total " + std::to_string(count) + " files checked.\r\n"; }

}  // namespace vault
