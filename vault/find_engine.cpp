#include "vault/find_engine.h"

#include <windows.h>

#include "common/fill_text.h"
#include "common/resources.h"
#include "common/ui_port.h"
#include "common/win/handle.h"
#include "res/resource.h"
#include "vault/catalog_paths.h"
#include "vault/document_index.h"
#include "vault/system_case_fold.h"

namespace vault {

namespace {
constexpr char kEncryptedSkipped[] = "File %s is encrypted! skiped.\n";
}  // namespace

void FindEngine::Start(FindState& state, const CatalogWalk& walk) {
    state.catalog = walk.Top();
    state.optionPosition = 0;
    state.documentPosition = 0;
}

FindOutcome FindEngine::FindNext(FindState& state, const CatalogWalk& walk, FindHit& hit,
                                 const std::function<bool()>& keepGoing) {
    keepGoing_ = &keepGoing;
    const TextMatcher matcher(state.text, state.options.matchCase, state.options.wholeWord, SystemCaseFold());
    state.order = FindOrder(state.options);
    while (state.catalog) {
        if (!KeepGoing()) return FindOutcome::stopped;
        // The index is read once per catalog and call, and only when a kind
        // needs it; a damaged one is reported once and the catalog passed.
        DocumentRecords records;
        bool loaded = false, readable = true;
        for (LookAt kind; (kind = state.Current()) != LookAt::end;) {
            Test t = Test::miss;
            if (kind == LookAt::title) {
                t = matcher.Matches(walk.Title(state.catalog)) ? Test::hit : Test::miss;
                ++state.optionPosition;
                if (t == Test::hit) {
                    hit = {kind, state.catalog, 0};
                    return FindOutcome::hit;
                }
                continue;
            }
            const std::string path = walk.Path(state.catalog);
            if (!loaded) {
                readable = LoadIndex(*ui_, records, path, OnBadIndex::skipCatalog);
                loaded = true;
            }
            if (readable)
                t = kind == LookAt::content ? ContentTest(state, path, records, matcher)
                                            : RecordTest(state, records, matcher, kind == LookAt::fileName);
            if (t == Test::stopped) return FindOutcome::stopped;
            if (t == Test::hit) {
                hit = {kind, state.catalog, state.documentPosition - 1};
                return FindOutcome::hit;
            }
            ++state.optionPosition;
            state.documentPosition = 0;
        }
        state.optionPosition = 0;
        state.documentPosition = 0;
        state.catalog = walk.Next(state.catalog);
        state.order = FindOrder(state.options);
    }
    return FindOutcome::finished;
}

FindEngine::Test FindEngine::RecordTest(FindState& state, const DocumentRecords& records,
                                        const TextMatcher& matcher, bool byName) {
    for (std::size_t i = state.documentPosition; i < records.size(); ++i) {
        if (matcher.Matches(byName ? records[i].name : records[i].description)) {
            state.documentPosition = i + 1;
            return Test::hit;
        }
    }
    return Test::miss;
}

FindEngine::Test FindEngine::ContentTest(FindState& state, const std::string& catalog,
                                         const DocumentRecords& records, const TextMatcher& matcher) {
    for (std::size_t i = state.documentPosition; i < records.size(); ++i) {
        const DocumentRecord& r = records[i];
        const std::string path = catalog + "\\" + r.name;
        if (!IsTextFileType(path, vault_.textFileTypes)) continue;
        if (r.encoded == 1) {
            ui_->AddMessage(FillText(kEncryptedSkipped, {r.name}));
            continue;
        }
        const Test t = SearchFile(path, matcher);
        if (t == Test::stopped) {
            // The next call searches this file again from its start.
            state.documentPosition = i;
            return t;
        }
        if (t == Test::hit) {
            ui_->AddMessage(FillText(LoadResString(IDS_OCCURRENCE_FOUND), {"File", r.name, "content"}));
            state.documentPosition = i + 1;
            return t;
        }
    }
    return Test::miss;
}

FindEngine::Test FindEngine::SearchFile(const std::string& path, const TextMatcher& matcher) {
    // Others may go on writing, renaming or deleting the file meanwhile.
    win::File file = win::File::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file.valid()) return Test::miss;
    if (piece_.size() != kContentPieceSize) piece_.resize(kContentPieceSize);
    ContentSearch search(matcher);
    for (;;) {
        if (!KeepGoing()) return Test::stopped;
        std::size_t have = 0;
        while (have < piece_.size()) {
            std::size_t got = 0;
            // A file that cannot be read on is passed over like one that
            // cannot be opened.
            if (!file.Read(piece_.data() + have, piece_.size() - have, got)) return Test::miss;
            if (got == 0) break;
            have += got;
        }
        const bool last = have < piece_.size();
        if (search.Feed(piece_.data(), have, last)) return Test::hit;
        if (last) return Test::miss;
    }
}

}  // namespace vault
