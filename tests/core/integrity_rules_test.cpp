#include <gtest/gtest.h>

#include "vault/integrity_rules.h"

using vault::DocumentRecord;
using vault::DocumentRecords;
using vault::ReconcileCatalog;

namespace {

DocumentRecord Doc(const std::string& name, std::vector<std::string> companions = {}) {
    DocumentRecord r;
    r.name = name;
    r.description = "about " + name;
    r.companions = std::move(companions);
    return r;
}

std::vector<std::string> Names(const DocumentRecords& records) {
    std::vector<std::string> names;
    for (const auto& r : records) names.push_back(r.name);
    return names;
}

}  // namespace

TEST(Reconcile, ConsistentCatalogChangesNothing) {
    DocumentRecords records{Doc("a.txt", {"a1.png"}), Doc("b.doc")};
    const auto before = records;
    const auto rec = ReconcileCatalog(records, {"_doc_info.dat", "b.doc", "a1.png", "a.txt"});
    EXPECT_FALSE(rec.changed);
    EXPECT_TRUE(rec.orphans.empty());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].companions, before[0].companions);
    EXPECT_EQ(records[0].description, "about a.txt");
}

TEST(Reconcile, GoneFilesOutOrphansIn) {
    DocumentRecords records{Doc("gone.txt"), Doc("kept.txt", {"here.png", "lost.png"}), Doc("kept.txt"),
                            Doc("Report.TXT")};
    const auto rec = ReconcileCatalog(records, {"new2.txt", "kept.txt", "report.txt", "here.png", "_DOC_INFO.DAT",
                                                "new1.txt"});
    EXPECT_TRUE(rec.changed);
    // The second record of one name finds its file taken by the first.
    EXPECT_EQ(Names(records), (std::vector<std::string>{"kept.txt", "Report.TXT"}));
    EXPECT_EQ(records[0].companions, std::vector<std::string>{"here.png"});
    EXPECT_EQ(rec.orphans, (std::vector<std::string>{"new2.txt", "new1.txt"}));
}

TEST(Reconcile, OnlyCompanionLostOrOnlyOrphans) {
    DocumentRecords records{Doc("page.htm", {"pic.gif"})};
    auto rec = ReconcileCatalog(records, {"page.htm"});
    EXPECT_TRUE(rec.changed);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].companions.empty());

    DocumentRecords none;
    rec = ReconcileCatalog(none, {"x.txt"});
    EXPECT_FALSE(rec.changed);  // adding the orphan is the change
    EXPECT_EQ(rec.orphans, std::vector<std::string>{"x.txt"});

    // Names beyond ASCII match as the table given folds them.
    vault::CaseFold fold = vault::AsciiCaseFold();
    fold[0xC9] = 0xE9;
    DocumentRecords accented{Doc("\xC9t\xC9.txt")};
    rec = ReconcileCatalog(accented, {"\xE9t\xE9.txt"}, fold);
    EXPECT_FALSE(rec.changed);
    EXPECT_TRUE(rec.orphans.empty());
}
