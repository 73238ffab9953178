#include "vault/integrity_rules.h"

#include <unordered_map>

namespace vault {

namespace {

// The listed names, grouped by their folded form; a group is taken as a
// whole, as every equal name is removed at once.
class NamePool {
public:
    NamePool(const std::vector<std::string>& files, const CaseFold& fold) : fold_(fold) {
        groupOf_.reserve(files.size());
        groups_.reserve(files.size());
        for (const auto& f : files) {
            const auto [it, added] = index_.try_emplace(Folded(f, fold_), groups_.size());
            if (added) groups_.push_back(false);
            groupOf_.push_back(it->second);
        }
    }
    // Removes every name equal to `name`; false when none was left.
    bool Take(const std::string& name) {
        const auto it = index_.find(Folded(name, fold_));
        if (it == index_.end() || groups_[it->second]) return false;
        groups_[it->second] = true;
        return true;
    }
    bool Taken(std::size_t file) const { return groups_[groupOf_[file]]; }

private:
    const CaseFold& fold_;
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<bool> groups_;  // taken
    std::vector<std::size_t> groupOf_;
};

}  // namespace

CatalogReconciliation ReconcileCatalog(DocumentRecords& records, const std::vector<std::string>& files,
                                       const CaseFold& fold) {
    CatalogReconciliation result;
    NamePool pool(files, fold);
    // The index file is no document, however its name is spelled.
    pool.Take(kIndexFileName);
    DocumentRecords kept;
    kept.reserve(records.size());
    for (auto& r : records) {
        if (!pool.Take(r.name)) {
            result.changed = true;
            continue;
        }
        std::vector<std::string> companions;
        for (auto& c : r.companions) {
            if (pool.Take(c))
                companions.push_back(std::move(c));
            else
                result.changed = true;
        }
        r.companions = std::move(companions);
        kept.push_back(std::move(r));
    }
    records = std::move(kept);
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!pool.Taken(i)) result.orphans.push_back(files[i]);
    return result;
}

}  // namespace vault
