#include <gtest/gtest.h>

#include <cstring>

#include "common/win/file_system.h"
#include "common/win/handle.h"
#include "tests/support/test_env.h"
#include "vault/catalog_paths.h"
#include "vault/catalog_service.h"
#include "vault/document_index.h"
#include "vault/folder_catalog_walk.h"
#include "vault/integrity_check.h"

using vault::DocumentRecord;
using vault::DocumentRecords;

namespace {

constexpr char kCompleted[] = "Integrity checking completed.\r\n";

class IntegrityVault : public ::testing::Test {
protected:
    std::string Catalog(const std::string& relative) {
        const std::string p = root / relative;
        CreateDirectoryA(p.c_str(), nullptr);
        return p;
    }
    void SetIndex(const std::string& catalog, const DocumentRecords& records) {
        WriteFileBytes(vault::IndexPath(catalog), "");
        ASSERT_TRUE(vault::SaveIndex(ui, records, catalog));
    }
    DocumentRecords Index(const std::string& catalog) {
        DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(ui, r, catalog));
        return r;
    }
    static DocumentRecord Doc(const std::string& name, std::vector<std::string> companions = {}) {
        DocumentRecord r;
        r.name = name;
        r.description = "kept " + name;
        r.companions = std::move(companions);
        return r;
    }
    // Runs the check over the catalogs on disk now; the catalogs it saved.
    std::vector<std::string> Check() {
        const vault::FolderCatalogWalk walk(catalogs);
        std::vector<std::string> saved;
        vault::CheckIntegrity(walk, context, ui, [&](const std::string& c) { saved.push_back(c); });
        return saved;
    }
    static FILETIME WriteTime(const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }
    static void SetOld(const std::string& path) {
        win::File f = win::File::Open(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, OPEN_EXISTING);
        const FILETIME old = win::FileTimeFromUnixTime(978307200);  // 2001-01-01
        ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &old));
    }

    TempDir root;
    RecordingUi ui;
    vault::VaultContext context{root.path(), vault::kDefaultTextFileTypes};
    vault::CatalogService catalogs{context, ui};
};

}  // namespace

TEST_F(IntegrityVault, ConsistentVaultOnlyReportsCompletion) {
    const std::string docs = Catalog("Docs"), sub = Catalog("Docs\\Sub");
    WriteFileBytes(root / "a.txt", "a");
    WriteFileBytes(docs + "\\page.htm", "p");
    WriteFileBytes(docs + "\\pic.png", "i");
    SetIndex(root.path(), {Doc("a.txt")});
    SetIndex(docs, {Doc("page.htm", {"pic.png"})});
    SetIndex(sub, {});
    std::vector<std::string> bytes;
    for (const auto& c : {root.path(), docs, sub}) {
        SetOld(vault::IndexPath(c));
        bytes.push_back(ReadFileBytes(vault::IndexPath(c)));
    }
    const FILETIME old = WriteTime(vault::IndexPath(docs));

    EXPECT_TRUE(Check().empty());
    EXPECT_EQ(ui.messages, kCompleted);
    int i = 0;
    for (const auto& c : {root.path(), docs, sub}) {
        const FILETIME now = WriteTime(vault::IndexPath(c));
        EXPECT_EQ(CompareFileTime(&now, &old), 0) << c;
        EXPECT_EQ(ReadFileBytes(vault::IndexPath(c)), bytes[i++]) << c;
    }
}

TEST_F(IntegrityVault, GoneRecordsOutOrphansIn) {
    const std::string docs = Catalog("Docs");
    for (const char* f : {"kept.txt", "pic.png", "report.txt", "new.txt"}) WriteFileBytes(docs + "\\" + f, "12345");
    WriteFileBytes(root / "top.txt", "t");
    SetIndex(docs, {Doc("gone.txt"), Doc("kept.txt", {"pic.png", "lost.png"}), Doc("kept.txt"), Doc("Report.TXT")});

    const auto saved = Check();
    // A catalog made after the tree was read is not visited.
    const std::string late = Catalog("Late");
    WriteFileBytes(late + "\\late.txt", "l");

    EXPECT_EQ(saved.size(), 2u);
    const auto records = Index(docs);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, "kept.txt");
    EXPECT_EQ(records[0].companions, std::vector<std::string>{"pic.png"});
    EXPECT_EQ(records[1].name, "Report.TXT");
    EXPECT_EQ(records[1].description, "kept Report.TXT");
    const DocumentRecord& orphan = records[2];
    std::string temp;
    ASSERT_TRUE(win::TempFolder(temp));
    EXPECT_EQ(orphan.name, "new.txt");
    EXPECT_EQ(orphan.origin, docs + "\\new.txt");
    EXPECT_EQ(orphan.workingFolder, temp);
    EXPECT_EQ(orphan.description, "");
    EXPECT_EQ(orphan.encoded, 0);
    EXPECT_EQ(orphan.size, 5);
    EXPECT_EQ(orphan.type, ".txt");

    // The top catalog's text is empty; the lines come in tree order.
    EXPECT_EQ(ui.messages, "Orphan file: \"top.txt\" found in catalog , added to the catalog!\r\n"
                           "Orphan file: \"new.txt\" found in catalog \\Docs, added to the catalog!\r\n" +
                               std::string(kCompleted));
    EXPECT_EQ(Index(late).size(), 0u);

    // Once in line, only what is new is touched.
    ui.messages.clear();
    EXPECT_EQ(Check(), std::vector<std::string>{late});
    EXPECT_EQ(ui.messages, "Orphan file: \"late.txt\" found in catalog \\Late, added to the catalog!\r\n" +
                               std::string(kCompleted));
}

TEST_F(IntegrityVault, AStoppedCheckKeepsWhatItDidAndTouchesNothingAfter) {
    const std::string a = Catalog("A"), b = Catalog("B");
    WriteFileBytes(a + "\\one.txt", "1");
    WriteFileBytes(b + "\\two.txt", "2");
    int asked = 0;
    // Yes for the top catalog and A, no before B.
    const vault::FolderCatalogWalk walk(catalogs);
    vault::CheckIntegrity(walk, context, ui, {}, [&] { return ++asked <= 2; });
    EXPECT_EQ(Index(a).size(), 1u);
    EXPECT_FALSE(FileExists(vault::IndexPath(b)));
    EXPECT_EQ(ui.messages, "Orphan file: \"one.txt\" found in catalog \\A, added to the catalog!\r\n"
                           "Integrity checking stopped; 2 catalogs were checked.\r\n");
}

TEST_F(IntegrityVault, UnreadableCatalogsAreReportedAndLeftAlone) {
    const std::string bad = Catalog("Bad"), locked = Catalog("Locked");
    WriteFileBytes(bad + "\\orphan.txt", "o");
    WriteFileBytes(locked + "\\orphan.txt", "o");
    const std::string damaged = std::string("\x05\0\0\0", 4) + "cut short";
    WriteFileBytes(vault::IndexPath(bad), damaged);
    SetIndex(locked, {Doc("gone.txt")});
    const std::string lockedBytes = ReadFileBytes(vault::IndexPath(locked));
    {
        win::File hold = win::File::Open(vault::IndexPath(locked), GENERIC_READ, 0, OPEN_EXISTING);
        ASSERT_TRUE(hold.valid());
        EXPECT_TRUE(Check().empty());
    }
    EXPECT_NE(ui.messages.find(vault::IndexPath(bad) + " is damaged"), std::string::npos) << ui.messages;
    EXPECT_NE(ui.messages.find(vault::IndexPath(locked) + " cannot be read"), std::string::npos) << ui.messages;
    EXPECT_EQ(ui.messages.find("Orphan file"), std::string::npos);
    EXPECT_EQ(ui.messages.substr(ui.messages.size() - std::strlen(kCompleted)), kCompleted);
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(bad)), damaged);
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(locked)), lockedBytes);
}

TEST_F(IntegrityVault, ThousandsOfFilesInOneCatalog) {
    const std::string many = Catalog("Many");
    constexpr int kFiles = 2000;
    for (int i = 0; i < kFiles; ++i) WriteFileBytes(many + "\\f" + std::to_string(i) + ".txt", "x");
    Check();
    EXPECT_EQ(Index(many).size(), static_cast<std::size_t>(kFiles));
    ui.messages.clear();
    EXPECT_TRUE(Check().empty());
    EXPECT_EQ(ui.messages, kCompleted);
}
