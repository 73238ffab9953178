#include <gtest/gtest.h>

#include "common/win/handle.h"
#include "tests/support/test_env.h"
#include "vault/catalog_paths.h"
#include "vault/catalog_service.h"
#include "vault/document_index.h"
#include "vault/find_engine.h"
#include "vault/folder_catalog_walk.h"

using vault::FindOutcome;
using vault::LookAt;

namespace {

class FindVault : public ::testing::Test {
protected:
    std::string Catalog(const std::string& relative) {
        const std::string p = root / relative;
        CreateDirectoryA(p.c_str(), nullptr);
        return p;
    }
    // A document file with its record at the end of the catalog's index.
    void Put(const std::string& catalog, const std::string& name, const std::string& content,
             const std::string& description = "", int encoded = 0) {
        const std::string path = catalog + "\\" + name;
        WriteFileBytes(path, content);
        vault::DocumentRecord r;
        ASSERT_TRUE(vault::MakeDocumentRecord(path, root.path(), r));
        r.description = description;
        r.encoded = encoded;
        ASSERT_TRUE(vault::AppendToIndex(ui, {r}, catalog));
    }
    void Start(const std::string& text, std::uint32_t mask) {
        walk = std::make_unique<vault::FolderCatalogWalk>(catalogs);
        state = {};
        state.text = text;
        state.options = vault::FindOptions::FromMask(mask);
        vault::FindEngine::Start(state, *walk);
    }
    FindOutcome Next() { return engine.FindNext(state, *walk, hit); }
    std::string HitPath() const { return walk->Path(hit.catalog); }

    TempDir root;
    RecordingUi ui;
    vault::VaultContext context{root.path(), vault::kDefaultTextFileTypes};
    vault::CatalogService catalogs{context, ui};
    vault::FindEngine engine{context, ui};
    std::unique_ptr<vault::FolderCatalogWalk> walk;
    vault::FindState state;
    vault::FindHit hit;
};

constexpr std::uint32_t kTitle = 0x10, kDescription = 0x20, kName = 0x40, kContent = 0x80, kWholeWord = 0x02;

}  // namespace

TEST_F(FindVault, TitlesOnePerPressInTreeOrderThenTheEnd) {
    for (const char* c : {"plan 2003", "planning", "my plan", "plan,2003", "my plan\\plan b", "planning\\x"})
        Catalog(c);
    Start("plan", kTitle | kWholeWord);
    std::vector<std::string> expected, got;
    for (auto c = walk->Top(); c; c = walk->Next(c)) {
        const std::string t = walk->Title(c);
        if (t == "plan 2003" || t == "my plan" || t == "plan b") expected.push_back(walk->Path(c));
    }
    FindOutcome outcome;
    while ((outcome = Next()) == FindOutcome::hit) {
        EXPECT_EQ(hit.kind, LookAt::title);
        got.push_back(HitPath());
    }
    EXPECT_EQ(outcome, FindOutcome::finished);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(ui.messages, "");
}

TEST_F(FindVault, SuccessiveDocumentHitsAndWhatMessagesHear) {
    const std::string docs = Catalog("Docs");
    Put(docs, "a.txt", "nothing here", "budget plan");
    Put(docs, "b.txt", "nothing here", "the plan");
    Put(docs, "c.txt", "a PLAN inside");
    Put(docs, "d.doc", "a plan a .doc never shows");
    Start("plan", kDescription | kContent);
    ASSERT_EQ(Next(), FindOutcome::hit);
    EXPECT_EQ(hit.kind, LookAt::description);
    EXPECT_EQ(hit.record, 0u);
    EXPECT_EQ(HitPath(), docs);
    ASSERT_EQ(Next(), FindOutcome::hit);
    EXPECT_EQ(hit.record, 1u);
    EXPECT_EQ(ui.messages, "");  // description hits are shown, not written
    ASSERT_EQ(Next(), FindOutcome::hit);
    EXPECT_EQ(hit.kind, LookAt::content);
    EXPECT_EQ(hit.record, 2u);
    EXPECT_EQ(ui.messages, "Occurrence is found in File c.txt 's content\n");
    EXPECT_EQ(Next(), FindOutcome::finished);
}

TEST_F(FindVault, EncryptedTextIsReportedAndNotSearched) {
    const std::string docs = Catalog("Docs");
    Put(docs, "secret.txt", "the plan", "", 1);
    Put(root.path(), "name plan.txt", "x");
    Start("plan", kContent);
    EXPECT_EQ(Next(), FindOutcome::finished);
    EXPECT_EQ(ui.messages, "File secret.txt is encrypted! skiped.\n");

    // File names are searched when asked for.
    ui.messages.clear();
    Start("PLAN", kName);
    ASSERT_EQ(Next(), FindOutcome::hit);
    EXPECT_EQ(hit.kind, LookAt::fileName);
    EXPECT_EQ(HitPath(), root.path());
}

TEST_F(FindVault, OccurrenceAcrossTheFirstPieceBoundary) {
    const std::string docs = Catalog("Docs");
    std::string big(vault::kContentPieceSize + 4096, 'a');
    big.replace(vault::kContentPieceSize - 3, 6, "needle");
    Put(docs, "big.txt", big);
    Start("needle", kContent);
    ASSERT_EQ(Next(), FindOutcome::hit);
    EXPECT_EQ(hit.record, 0u);
}

TEST_F(FindVault, UnreadableMissingAndDamagedArePassedOver) {
    const std::string a = Catalog("A"), b = Catalog("B");
    Put(a, "locked.txt", "needle");
    Put(a, "missing.txt", "needle");
    DeleteFileA((a + "\\missing.txt").c_str());
    Put(a, "binary.htm", std::string("\0\xff\x01 needle\0", 11));
    const std::string damaged = "\x05\0\0\0garbage";
    WriteFileBytes(vault::IndexPath(b), damaged);
    Put(root.path(), "good.txt", "needle");
    win::File lock = win::File::Open(a + "\\locked.txt", GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_TRUE(lock.valid());

    Start("needle", kContent);
    std::vector<std::string> hits;
    while (Next() == FindOutcome::hit) hits.push_back(HitPath() + "|" + std::to_string(hit.record));
    EXPECT_EQ(hits, (std::vector<std::string>{root.path() + "|0", a + "|2"}));
    // The damaged index is reported once, and left as it was.
    const auto first = ui.messages.find("is damaged");
    ASSERT_NE(first, std::string::npos) << ui.messages;
    EXPECT_EQ(ui.messages.find("is damaged", first + 1), std::string::npos);
    EXPECT_NE(ui.messages.find("the catalog was skipped"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(b)), damaged);
}

TEST_F(FindVault, StoppedSearchGoesOnFromItsPlace) {
    const std::string docs = Catalog("Docs");
    Put(docs, "a.txt", "nothing");
    Put(docs, "b.txt", "x needle");
    Start("needle", kContent);
    int asked = 0;
    // Stops when the first file of the catalog is reached.
    const auto outcome = engine.FindNext(state, *walk, hit, [&] { return ++asked < 3; });
    EXPECT_EQ(outcome, FindOutcome::stopped);
    const auto stoppedAt = state.catalog;
    ASSERT_EQ(Next(), FindOutcome::hit);
    EXPECT_EQ(hit.catalog, stoppedAt);
    EXPECT_EQ(hit.record, 1u);

    // Options narrowed after a hit: the position past the new order ends
    // the catalog instead of reading past it.
    Start("needle", kDescription | kName | kContent);
    ASSERT_EQ(Next(), FindOutcome::hit);
    state.options = vault::FindOptions::FromMask(kTitle);
    EXPECT_EQ(Next(), FindOutcome::finished);
}
