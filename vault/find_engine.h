// Find over the whole vault: each call goes on from where the last hit
// left the find state and stops at the next hit, or at the end of the walk.
// It reads every catalog's index, and with "Text File content" the files of
// the text types in pieces; it tells Messages of content hits and of
// encrypted text files it passes.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "vault/catalog_walk.h"
#include "vault/document_record.h"
#include "vault/find_rules.h"
#include "vault/vault_context.h"

class UiPort;

namespace vault {

enum class FindOutcome { hit, finished, stopped };

struct FindHit {
    LookAt kind = LookAt::end;
    std::uintptr_t catalog = 0;
    // The record of a description, file name or content hit.
    std::size_t record = 0;
};

class FindEngine {
public:
    FindEngine(const VaultContext& vault, UiPort& ui) : vault_(vault), ui_(&ui) {}

    // Places the state at the walk's top catalog, before its first kind.
    static void Start(FindState& state, const CatalogWalk& walk);
    // One Find Next. The order is rebuilt from the state's options first.
    // `keepGoing` is asked between catalogs, documents and pieces of a file;
    // when it says no, the state stays where the search was, so the next
    // call goes on from there.
    FindOutcome FindNext(FindState& state, const CatalogWalk& walk, FindHit& hit,
                         const std::function<bool()>& keepGoing = {});

private:
    enum class Test { hit, miss, stopped };
    Test RecordTest(FindState& state, const DocumentRecords& records, const TextMatcher& matcher, bool byName);
    Test ContentTest(FindState& state, const std::string& catalog, const DocumentRecords& records,
                     const TextMatcher& matcher);
    Test SearchFile(const std::string& path, const TextMatcher& matcher);
    bool KeepGoing() const { return !keepGoing_ || !*keepGoing_ || (*keepGoing_)(); }

    VaultContext vault_;
    UiPort* ui_;
    std::vector<std::uint8_t> piece_;
    const std::function<bool()>* keepGoing_ = nullptr;
};

}  // namespace vault
